#!/usr/bin/env bash
# Seeds a fresh data folder and starts one sandbox instance in the background: the browser on
# UDP 1434, every batch logged, run-time faults over the control socket; DIR/serve.ready holds
# its "PID PORT" while it runs.
# Usage: start-sandbox.sh PYTHON SANDBOX DIR
set -euo pipefail
python=$1
sandbox=$2
dir=$3

"$python" "$sandbox" stop "$dir/serve.ready"
rm -rf "$dir"
mkdir -p "$dir/data"
"$python" "$sandbox" seed "$dir/data" >/dev/null
# UDP 1434 is one port: wait a while for another instance (another build's tests) to go.
for _ in $(seq 240); do
    ss -Hulpn 'sport = :1434' | grep -q . || break
    sleep 0.5
done
if ss -Hulpn 'sport = :1434' | grep -q .; then
    echo "UDP 1434 is still taken:" >&2
    ss -Hulpn 'sport = :1434' >&2
    exit 1
fi
"$python" "$sandbox" serve --background --ready-file "$dir/serve.ready" --data "$dir/data" \
    --log "$dir/statements.log" --control "$dir/control.sock" >"$dir/serve.out" 2>&1 || {
    echo "the sandbox did not get ready:" >&2
    cat "$dir/serve.out" >&2
    exit 1
}
