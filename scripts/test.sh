#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite through CTest
# (the real-server tests start and stop their own servers).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
install -d -m 700 "$XDG_RUNTIME_DIR"
ctest --test-dir build --output-on-failure -j2 "$@"
