#!/usr/bin/env bash
# Stops the throw-away servers that start.sh started under DIR and removes
# their folders (databases included) and DIR/servers.env. Safe to run when
# nothing is running. Waits at most about half a minute.
#
# Usage: stop.sh DIR
set -uo pipefail
DIR=${1:?usage: stop.sh DIR}
[ -d "$DIR" ] || exit 0
DIR=$(cd "$DIR" && pwd)
SERVERS_HOME="$DIR"
[ -f "$DIR/servers.home" ] && SERVERS_HOME=$(cat "$DIR/servers.home")
PG="$SERVERS_HOME/postgresql"
FB="$SERVERS_HOME/firebird"
PG_BIN=/usr/lib/postgresql/15/bin

if [ -f "$PG/data/postmaster.pid" ]; then
  if ! (cd / && timeout 20 runuser -u postgres -- "$PG_BIN/pg_ctl" -D "$PG/data" -m fast -w -t 15 stop) >/dev/null 2>&1; then
    pid=$(head -n 1 "$PG/data/postmaster.pid" 2>/dev/null)
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  fi
fi
if [ -f "$FB/firebird.pid" ]; then
  timeout 20 start-stop-daemon --stop --pidfile "$FB/firebird.pid" --retry TERM/10/KILL/5 --remove-pidfile \
    >/dev/null 2>&1 || true
fi
rm -rf "$PG" "$FB" "$DIR/servers.env" "$DIR/servers.home"
case "$SERVERS_HOME" in /tmp/traspasor-servers.*) rmdir "$SERVERS_HOME" 2>/dev/null ;; esac
rmdir "$DIR" 2>/dev/null || true
exit 0
