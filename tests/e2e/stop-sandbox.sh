#!/usr/bin/env bash
# Stops the sandbox instance that start-sandbox.sh started in this folder, if it still runs.
set -uo pipefail
pidfile=$1/serve.pid
[ -f "$pidfile" ] || exit 0
pid=$(cat "$pidfile")
kill "$pid" 2>/dev/null
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -9 "$pid" 2>/dev/null
rm -f "$pidfile"
exit 0
