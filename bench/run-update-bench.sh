#!/usr/bin/env bash
# Times full update runs of Flagwright and of a plain ODBC client (isql, same FreeTDS driver,
# one statement per request) against one sandbox instance, each on a fresh copy of the seeded
# Emberline database, alternating, and prints the medians of wall time, client CPU, the
# sandbox's CPU and the client's peak memory.
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

# Per run: wall seconds, client CPU seconds, sandbox CPU seconds, client peak RSS (KiB).
: >"$work/flagwright.tsv"
: >"$work/isql.tsv"
for i in $(seq "$runs"); do
    fresh_copy "Bench F$i"
    server_before=$(sandbox_cpu)
    line=$(/usr/bin/time -f '%M' -o "$work/rss" "$bench" "Bench F$i")
    server_after=$(sandbox_cpu)
    echo "flagwright run $i: $line"
    printf '%s\t%s\t%s\t%s\n' "$(cut -f2 <<<"$line")" "$(cut -f3 <<<"$line")" \
        "$(seconds_between "$server_before" "$server_after")" "$(cat "$work/rss")" \
        >>"$work/flagwright.tsv"

    fresh_copy "Bench P$i"
    server_before=$(sandbox_cpu)
    seconds=$(time_plain_client "Bench P$i" "$work/statements.sql")
    server_after=$(sandbox_cpu)
    echo "isql       run $i: $seconds"
    usage=$(plain_client_cpu_rss)
    printf '%s\t%s\t%s\t%s\n' "$seconds" "$(cut -f1 <<<"$usage")" \
        "$(seconds_between "$server_before" "$server_after")" "$(cut -f2 <<<"$usage")" \
        >>"$work/isql.tsv"
done
check_updated "Bench F$runs" "Bench P$runs"

echo "medians of $runs runs:  wall s   client CPU s   sandbox CPU s   client max RSS KiB"
for client in flagwright isql; do
    printf '%-10s' "$client"
    for column in 1 2 3 4; do
        printf '%14s' "$(median $(cut -f"$column" "$work/$client.tsv"))"
    done
    echo
done
f=$(median $(cut -f1 "$work/flagwright.tsv"))
p=$(median $(cut -f1 "$work/isql.tsv"))
echo "wall time ratio flagwright / isql: $(awk -v f="$f" -v p="$p" 'BEGIN { printf "%.3f", f / p }')"
uptime
