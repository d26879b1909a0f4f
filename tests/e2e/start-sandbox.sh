#!/usr/bin/env bash
# Seeds a fresh data folder and starts one sandbox instance in the background: the browser on
# UDP 1434, every batch logged, run-time faults over the control socket.
set -euo pipefail
sandbox=$1
dir=$2

if [ ! -f "$sandbox" ]; then
    echo "no sandbox server at $sandbox" >&2
    exit 1
fi
"$(dirname "$0")/stop-sandbox.sh" "$dir"
rm -rf "$dir"
mkdir -p "$dir/data"
python3 "$sandbox" seed "$dir/data" >/dev/null
if ss -Hulpn 'sport = :1434' | grep -q .; then
    echo "UDP 1434 is already taken:" >&2
    ss -Hulpn 'sport = :1434' >&2
    exit 1
fi
setsid python3 "$sandbox" serve --data "$dir/data" --log "$dir/statements.log" \
    --control "$dir/control.sock" >"$dir/serve.out" 2>&1 </dev/null &
echo $! >"$dir/serve.pid"
for _ in $(seq 100); do
    grep -q '^ready ' "$dir/serve.out" && exit 0
    kill -0 "$(cat "$dir/serve.pid")" 2>/dev/null || break
    sleep 0.1
done
echo "the sandbox did not get ready:" >&2
cat "$dir/serve.out" >&2
exit 1
