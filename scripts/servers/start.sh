#!/usr/bin/env bash
# Starts a throw-away Firebird server and a throw-away PostgreSQL cluster on
# 127.0.0.1, each in a private folder under DIR (under /tmp when the server
# users cannot reach DIR), and writes DIR/servers.env
# (KEY=value lines) telling the tests how to reach them. Nothing outside DIR
# is changed (the Firebird server still appends to its system log): it runs
# from a private root (its own configuration, security database and lock
# folder) and PostgreSQL from its own data folder. Ports are the first free ones from 30551 and 54329
# (TRASPASOR_FB_PORT, TRASPASOR_PG_PORT move them).
#
# When the machine cannot run them (not root, packages missing) it writes
# SERVERS_AVAILABLE=0 and exits 0, so that the tests skip; a server that is
# installed but fails to start is an error (exit 1).
#
# Usage: start.sh DIR
set -euo pipefail
DIR=${1:?usage: start.sh DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$DIR"
DIR=$(cd "$DIR" && pwd)
ENV_FILE="$DIR/servers.env"
FB_PASSWORD=${TRASPASOR_FB_PASSWORD:-masterkey}   # lower case: the tool lower-cases KTZ passwords
PG_ROLE=traspasor
PG_PASSWORD=traspasor

unavailable() {
  echo "skipped: server not available ($1)"
  printf 'SERVERS_AVAILABLE=0\nSERVERS_REASON=%s\n' "$1" > "$ENV_FILE"
  exit 0
}
# Reports the failure with the log it names, then removes what was started.
fail() {
  echo "servers: $1" >&2
  log=$(echo "$1" | sed -n 's/.*(see \(.*\))$/\1/p')
  [ -n "$log" ] && [ -f "$log" ] && tail -n 20 "$log" >&2
  "$here/stop.sh" "$DIR" >/dev/null 2>&1 || true
  exit 1
}
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
pick_port() {
  local p=$1
  for _ in $(seq 40); do
    if port_free "$p"; then echo "$p"; return 0; fi
    p=$((p + 1))
  done
  return 1
}
# Waits up to $2 tenths of a second for a listener on port $1.
wait_port() {
  for _ in $(seq "$2"); do
    port_free "$1" || return 0
    sleep 0.1
  done
  return 1
}

[ "$(id -u)" -eq 0 ] || unavailable "not root"
case "$DIR" in *[[:space:]]*) unavailable "folder name with blanks: $DIR" ;; esac
for p in firebird3.0-server firebird3.0-utils postgresql-15 libqt6sql6-ibase libqt6sql6-psql; do
  installed "$p" || unavailable "package $p is not installed"
done
FB_LIB=$(dirname "$(dirname "$(ls /usr/lib/*/firebird/3.0/plugins/libEngine12.so 2>/dev/null | head -n 1)")")
PG_BIN=/usr/lib/postgresql/15/bin
[ -x /usr/sbin/firebird ] && [ -d "$FB_LIB/plugins" ] || unavailable "Firebird server files not found"
[ -x "$PG_BIN/initdb" ] || unavailable "PostgreSQL 15 binaries not found"

# Servers left by an earlier start in this folder go first.
"$here/stop.sh" "$DIR" >/dev/null 2>&1 || true
mkdir -p "$DIR"

# The servers run as their own users, who must reach their folders: under
# DIR when they can, otherwise in a private folder under /tmp (stop.sh
# finds it through DIR/servers.home).
SERVERS_HOME="$DIR"
if ! runuser -u firebird -- test -x "$DIR" 2>/dev/null || ! runuser -u postgres -- test -x "$DIR" 2>/dev/null; then
  SERVERS_HOME=$(mktemp -d /tmp/traspasor-servers.XXXXXX)
  chmod 0755 "$SERVERS_HOME"
fi
echo "$SERVERS_HOME" > "$DIR/servers.home"

# --- Firebird ------------------------------------------------------------------
FB="$SERVERS_HOME/firebird"
FB_PORT=$(pick_port "${TRASPASOR_FB_PORT:-30551}") || fail "no free port for Firebird"
install -d -o firebird -g firebird -m 0750 "$FB" "$FB/root" "$FB/lock"
install -d -o firebird -g firebird -m 0770 "$FB/data"
for f in UDF lib plugins firebird.msg; do
  [ -e "$FB_LIB/$f" ] && ln -s "$FB_LIB/$f" "$FB/root/$f"
done
# The character-set module refuses to load through a link: a real copy.
install -d "$FB/root/intl"
cp -L "$FB_LIB/intl/libfbintl.so" "$FB_LIB/intl/fbintl.conf" "$FB/root/intl/"
cp -L "$FB_LIB/plugins.conf" "$FB/root/plugins.conf"
[ -e "$FB_LIB/fbtrace.conf" ] && cp -L "$FB_LIB/fbtrace.conf" "$FB/root/fbtrace.conf"
cat > "$FB/root/firebird.conf" <<CONF
RemoteBindAddress = 127.0.0.1
RemoteServicePort = $FB_PORT
SecurityDatabase = $FB/root/security3.fdb
DatabaseAccess = Full
UdfAccess = None
CONF
cat > "$FB/root/databases.conf" <<CONF
security.db = $FB/root/security3.fdb
{
	RemoteAccess = false
}
CONF
if [ -f /var/lib/firebird/3.0/system/security3.fdb ]; then
  cp /var/lib/firebird/3.0/system/security3.fdb "$FB/root/security3.fdb"
  chown -R firebird:firebird "$FB"
else
  chown -R firebird:firebird "$FB"
  { echo "CREATE DATABASE '$FB/root/security3.fdb';"; cat /usr/share/firebird/3.0/security.sql; } |
    (cd / && runuser -u firebird -- env FIREBIRD="$FB/root" FIREBIRD_LOCK="$FB/lock" isql-fb -q -user SYSDBA) \
    >"$FB/security.log" 2>&1 || fail "cannot create the Firebird security database (see $FB/security.log)"
fi
# SYSDBA gets the known password in the private copy (embedded access, no server yet).
echo "CREATE OR ALTER USER SYSDBA PASSWORD '$FB_PASSWORD';" |
  (cd / && timeout 30 runuser -u firebird -- env FIREBIRD="$FB/root" FIREBIRD_LOCK="$FB/lock" \
    isql-fb -q -user SYSDBA "$FB/root/security3.fdb") >"$FB/security.log" 2>&1 ||
  fail "cannot set the SYSDBA password (see $FB/security.log)"
FIREBIRD="$FB/root" FIREBIRD_LOCK="$FB/lock" start-stop-daemon --start --background --make-pidfile \
  --pidfile "$FB/firebird.pid" --chuid firebird:firebird --chdir "$FB" --exec /usr/sbin/firebird ||
  fail "the Firebird server did not start"
wait_port "$FB_PORT" 150 || fail "the Firebird server does not listen on 127.0.0.1:$FB_PORT"

# --- PostgreSQL ----------------------------------------------------------------
PG="$SERVERS_HOME/postgresql"
PG_PORT=$(pick_port "${TRASPASOR_PG_PORT:-54329}") || fail "no free port for PostgreSQL"
install -d -o postgres -g postgres -m 0755 "$PG"
# Local (socket) connections are trusted, TCP ones need the password.
(cd / && timeout 60 runuser -u postgres -- "$PG_BIN/initdb" -D "$PG/data" -U postgres \
  --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8) >"$PG/initdb.log" 2>&1 ||
  fail "initdb failed (see $PG/initdb.log)"
(cd / && runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$PG/data" -l "$PG/server.log" -w -t 30 \
  -o "-c listen_addresses=127.0.0.1 -p $PG_PORT -k $PG -c fsync=off -c full_page_writes=off -c synchronous_commit=off" \
  start) >/dev/null || fail "PostgreSQL did not start (see $PG/server.log)"
timeout 30 "$PG_BIN/psql" -X -q -h "$PG" -p "$PG_PORT" -U postgres -d postgres -v ON_ERROR_STOP=1 \
  -c "CREATE ROLE $PG_ROLE LOGIN CREATEDB PASSWORD '$PG_PASSWORD'" >/dev/null ||
  fail "cannot create the PostgreSQL role"

cat > "$ENV_FILE" <<ENVFILE
SERVERS_AVAILABLE=1
FB_HOST=127.0.0.1
FB_PORT=$FB_PORT
FB_USER=SYSDBA
FB_PASSWORD=$FB_PASSWORD
FB_DATA=$FB/data
FB_ROOT=$FB/root
FB_LOCK=$FB/lock
PG_HOST=127.0.0.1
PG_PORT=$PG_PORT
PG_SOCKET=$PG
PG_ADMIN=postgres
PG_USER=$PG_ROLE
PG_PASSWORD=$PG_PASSWORD
PG_BIN=$PG_BIN
ENVFILE
echo "servers: Firebird on 127.0.0.1:$FB_PORT, PostgreSQL on 127.0.0.1:$PG_PORT ($SERVERS_HOME)"
