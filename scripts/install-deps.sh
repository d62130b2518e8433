#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
# Runs as root, or through sudo otherwise. Downloads nothing but Debian packages.
set -euo pipefail

packages=(
  build-essential cmake
  qt6-base-dev libqt6sql6-sqlite            # build, unit tests, embedded SQLite
  libsqlite3-dev                            # the SQLite engine under Qt's driver, for statements prepared once
  qt6-translations-l10n                     # Qt's own dialog texts (Sí/No, Aceptar) in Spanish
  libqt6sql6-ibase firebird3.0-server firebird3.0-utils   # KTZ on Firebird
  libqt6sql6-odbc unixodbc libsqliteodbc odbc-postgresql  # ODBC paths
  libqt6sql6-psql postgresql-15             # Orva on PostgreSQL
  xvfb xauth imagemagick                    # window screenshots
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fixed SYSDBA password for the throw-away test server (otherwise the package picks a random one).
echo "firebird3.0-server shared/firebird/sysdba_password/first_install password masterkey" | as_root debconf-set-selections
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
