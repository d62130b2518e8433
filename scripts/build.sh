#!/usr/bin/env bash
# Configures and builds the project into build/ (the program is build/traspasor).
# BUILD_TYPE=Debug (or RelWithDebInfo, MinSizeRel) picks another build type; Release by default.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
cmake --build build -j"$(nproc)"
