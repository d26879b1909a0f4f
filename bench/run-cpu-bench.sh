#!/usr/bin/env bash
# Client instructions per statement of Flagwright and of isql (same FreeTDS driver), counted
# with callgrind over a complete run and a run of the version query alone, whose difference
# leaves out start-up and login.
#
#   flock /tmp/emberline2-1434.lock bench/run-cpu-bench.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
build=$(realpath "${1:-$root/build/dev}")
bench=$build/bench/flagwright_update_bench

start_sandbox
"$bench" --statements >"$work/statements.sql"
head -1 "$work/statements.sql" >"$work/version-query.sql"
full=$(wc -l <"$work/statements.sql")
machine_line

callgrind() {
    valgrind --tool=callgrind --callgrind-out-file="$work/$1.out" "${@:2}" >/dev/null 2>&1 || true
}

# Flagwright's short run: a database at another version stops after the version query.
cp "$sandbox_dir/data/EmberlineArchive.sqlite" "$sandbox_dir/data/Cpu short.sqlite"
fresh_copy "Cpu full"
callgrind flagwright-short "$bench" "Cpu short"
callgrind flagwright-full "$bench" "Cpu full"
fresh_copy "Cpu plain short"
fresh_copy "Cpu plain full"
callgrind isql-short isql -k "$(plain_connect_string "Cpu plain short")" -b -e <"$work/version-query.sql"
callgrind isql-full isql -k "$(plain_connect_string "Cpu plain full")" -b -e <"$work/statements.sql"
check_updated "Cpu full" "Cpu plain full"

for client in flagwright isql; do
    echo "== $client, callgrind, instructions per statement ($full statements vs 1)"
    python3 "$root/bench/callgrind-objects.py" "$work/$client-full.out" "$full" \
        "$work/$client-short.out" 1
done

uptime
