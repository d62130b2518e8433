#!/usr/bin/env bash
# Prints every row of an Orva SQLite file, table by table, sorted, without
# the moment a counter moved (fechahora_modificacion): two files that hold
# the same rows print the same text. For comparing what two builds wrote:
#   scripts/orva-rows.sh before.db > before.txt; scripts/orva-rows.sh after.db > after.txt
#   diff before.txt after.txt
# Needs the sqlite3 command-line program (Debian package sqlite3).
set -euo pipefail
db="$1"
for table in $(sqlite3 "$db" "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name"); do
    columns=$(sqlite3 "$db" "SELECT group_concat('quote(\"' || name || '\")', ' || ''|'' || ') FROM pragma_table_info('$table') WHERE lower(name) <> 'fechahora_modificacion'")
    sqlite3 "$db" "SELECT '$table: ' || $columns FROM \"$table\"" | LC_ALL=C sort
done
