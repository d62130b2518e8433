#!/usr/bin/env bash
# Configures and builds the project into build/ (the program is build/traspasor).
# BUILD_TYPE=Debug (or RelWithDebInfo, MinSizeRel) picks another build type; Release by default.
# WERROR=ON makes compiler warnings errors (CI sets it; a local build only
# shows them, so a newer compiler's new warning does not stop it).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DTRASPASOR_WERROR="${WERROR:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
