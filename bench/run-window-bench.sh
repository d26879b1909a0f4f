#!/usr/bin/env bash
# Start-up of the real window under Xvfb (QApplication, frmMain with its database list, shown
# until exposed), with the sandbox running and 200 databases listed, then with the instance not
# running; then full update runs pressed in that window, with the program's peak memory.
#
#   flock /tmp/emberline2-1434.lock bench/run-window-bench.sh [RUNS] [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-common.sh"
runs=${1:-7}
build=$(realpath "${2:-$root/build/dev}")
bench=$build/bench/flagwright_window_bench

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 display <"$work/display"
export DISPLAY=:$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'kill "$xvfb_pid" 2>/dev/null; cleanup' EXIT

# Runs the bench $runs times with the arguments given; one line per run: launch to shown,
# main to shown, databases listed, update seconds, peak RSS KiB.
measure() {
    local i launched out
    for i in $(seq "$runs"); do
        [ $# -eq 0 ] || fresh_copy "$1 $i"
        launched=$(date +%s.%N)
        out=$("$bench" ${1:+"$1 $i"})
        printf '%s\t%s\t%s\t%s\t%s\n' \
            "$(seconds_between "$launched" "$(awk '/^shown_at /{print $2}' <<<"$out")")" \
            "$(awk '/^shown /{print $2}' <<<"$out")" "$(awk '/^databases /{print $2}' <<<"$out")" \
            "$(awk '/^update /{print $2}' <<<"$out")" "$(awk '/^max_rss_kib /{print $2}' <<<"$out")"
        [ $# -eq 0 ] || grep -q '^message Update successful.' <<<"$out" ||
            { echo "$out" >&2; return 1; }
    done
}

report() {
    local column
    printf '%-34s' "$1"
    for column in 1 2 3 4 5; do
        printf '%12s' "$(median $(cut -f"$column" "$2"))"
    done
    echo
}

start_sandbox
machine_line
listed=$("$bench" | awk '/^databases /{print $2}')
for i in $(seq $((200 - listed))); do
    cp "$sandbox_dir/data/Staging.sqlite" "$sandbox_dir/data/Listed $(printf %03d "$i").sqlite"
done
measure >"$work/listed.tsv"
measure "Window run" >"$work/update.tsv"
stop_sandbox
if ss -Hulpn 'sport = :1434' | grep -q .; then
    echo "UDP 1434 is taken by another instance; the not-running case cannot be measured" >&2
    exit 1
fi
measure >"$work/stopped.tsv"

echo "medians of $runs runs:            launch>shown  main>shown  databases  update s  max RSS KiB"
report "instance running, 200 listed" "$work/listed.tsv"
report "instance not running" "$work/stopped.tsv"
report "full update run in the window" "$work/update.tsv"
uptime
