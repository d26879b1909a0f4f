#!/usr/bin/env bash
# Full update runs of Flagwright on databases with a plain name and with unusual ones (blanks,
# quotes, ";", "}", non-ASCII), interleaved round by round, each on a fresh copy; prints the
# median seconds per name. BENCH_ON_DISK=1 puts the databases on disk instead of tmpfs.
#
#   flock /tmp/emberline2-1434.lock bench/run-names-bench.sh [ROUNDS] [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
rounds=${1:-5}
build=$(realpath "${2:-$root/build/dev}")
bench=$build/bench/flagwright_update_bench
names=("Plain" "O'Brien; a=b" "x};y" "Zürich Nord 😀" " say \"hi\" 'there' ")

start_sandbox
machine_line
: >"$work/times.tsv"
for round in $(seq "$rounds"); do
    databases=()
    for name in "${names[@]}"; do
        fresh_copy "$name $round"
        databases+=("$name $round")
    done
    "$bench" "${databases[@]}" | awk -F'\t' -v r=" $round" '{ sub(r "$", "", $1); print $1 "\t" $2 }' \
        >>"$work/times.tsv"
done
echo "median seconds of $rounds runs per name:"
for name in "${names[@]}"; do
    printf '  %-24s %s\n' "[$name]" "$(median $(awk -F'\t' -v n="$name" '$1 == n { print $2 }' "$work/times.tsv"))"
done
uptime
