#!/usr/bin/env bash
# Times full update runs of Flagwright and of a plain ODBC client (isql, same FreeTDS driver,
# one statement per request) against one sandbox instance, each on a fresh copy of the seeded
# Emberline database, alternating, and prints the median wall times.
#
#   flock /tmp/emberline2-1434.lock bench/run-update-bench.sh [RUNS] [BUILD_DIR]
#
# The sandbox needs UDP 1434; hold the lock above while this runs. It is stopped on exit.
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
runs=${1:-5}
build=$(realpath "${2:-$root/build/dev}")
bench=$build/bench/flagwright_update_bench

start_sandbox
"$bench" --statements >"$work/statements.sql"
echo "statements per run: $(wc -l <"$work/statements.sql")"
machine_line

flagwright=() plain=()
for i in $(seq "$runs"); do
    fresh_copy "Bench F$i"
    line=$("$bench" "Bench F$i")
    echo "flagwright run $i: $line"
    flagwright+=("$(cut -f2 <<<"$line")")

    fresh_copy "Bench P$i"
    seconds=$(time_plain_client "Bench P$i" "$work/statements.sql")
    echo "isql       run $i: $seconds"
    plain+=("$seconds")
done
check_updated "Bench F$runs" "Bench P$runs"

f=$(median "${flagwright[@]}")
p=$(median "${plain[@]}")
echo "median wall seconds: flagwright $f, isql $p, ratio $(awk -v f="$f" -v p="$p" 'BEGIN { printf "%.3f", f / p }')"
uptime
