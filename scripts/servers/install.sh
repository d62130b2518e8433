#!/usr/bin/env bash
# Installs the Debian packages of the throw-away test servers (Firebird for
# KTZ, PostgreSQL for Orva) and of the Qt and ODBC drivers that reach them.
# Does nothing when they are all present. Root, or sudo otherwise.
set -euo pipefail

packages=(
  firebird3.0-server firebird3.0-utils libqt6sql6-ibase
  postgresql-15 libqt6sql6-psql
  libqt6sql6-odbc unixodbc libsqliteodbc odbc-postgresql
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

echo "Installing: ${missing[*]}"
# The SYSDBA password of the system-wide security database would otherwise be
# random; the throw-away server sets its own in a private copy anyway.
echo "firebird3.0-server shared/firebird/sysdba_password/first_install password masterkey" | as_root debconf-set-selections
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
