#!/usr/bin/env bash
# Installs the Debian packages of the throw-away test servers (Firebird for
# KTZ, PostgreSQL for Orva) and of the drivers that reach them: the project's
# one package list does it. Nothing happens when they are all present.
set -euo pipefail
exec "$(dirname "$0")/../install-deps.sh"
