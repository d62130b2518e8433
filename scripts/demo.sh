#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo databases and runs the
# transfer on them unattended (as a scheduler would).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build/traspasor --demo demo-data --force
build/traspasor "@ParametroAdicional=DesdeTimer;@DbName=$PWD/demo-data/orva.db;"
