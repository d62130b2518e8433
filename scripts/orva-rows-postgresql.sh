#!/usr/bin/env bash
# Prints every row of an Orva PostgreSQL database, table by table, sorted,
# without the moment a counter moved (fechahora_modificacion): two databases
# that hold the same rows print the same text. The PostgreSQL counterpart of
# orva-rows.sh, for comparing what two builds wrote on the throw-away server:
#   scripts/orva-rows-postgresql.sh DIR DATABASE > before.txt   (DIR: the folder of scripts/servers/start.sh)
#   ... the same for the other database > after.txt; diff before.txt after.txt
set -euo pipefail
dir=${1:?usage: orva-rows-postgresql.sh SERVERS_DIR DATABASE}
database=${2:?usage: orva-rows-postgresql.sh SERVERS_DIR DATABASE}
# shellcheck disable=SC1091
. "$dir/servers.env"
psql_() { "$PG_BIN/psql" -X -q -A -t -h "$PG_SOCKET" -p "$PG_PORT" -U "$PG_ADMIN" -d "$database" -v ON_ERROR_STOP=1 -c "$1"; }
for table in $(psql_ "SELECT table_name FROM information_schema.tables WHERE table_schema = 'public' AND table_type = 'BASE TABLE' ORDER BY table_name"); do
    columns=$(psql_ "SELECT string_agg('coalesce(quote_literal(' || quote_ident(column_name) || '::text), ''NULL'')', ' || ''|'' || ' ORDER BY ordinal_position) FROM information_schema.columns WHERE table_schema = 'public' AND table_name = '$table' AND lower(column_name) <> 'fechahora_modificacion'")
    psql_ "SELECT '$table: ' || $columns FROM \"$table\"" | LC_ALL=C sort
done
