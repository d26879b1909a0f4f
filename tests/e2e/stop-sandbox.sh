#!/usr/bin/env bash
# Stops the sandbox instance started with a ready file in this folder, if it still runs: the
# instance removes the file as it ends.
set -uo pipefail
ready=$1/serve.ready
[ -f "$ready" ] || exit 0
read -r pid _ <"$ready"
kill "$pid" 2>/dev/null || { rm -f "$ready"; exit 0; } # left by one that was killed
for _ in $(seq 50); do
    [ -f "$ready" ] || exit 0
    sleep 0.1
done
kill -9 "$pid" 2>/dev/null
rm -f "$ready"
exit 0
