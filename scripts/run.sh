#!/usr/bin/env bash
# Builds Flagwright and runs it against the sandbox instance with the sample databases;
# the sandbox is stopped again when the program exits. A script, since the program needs the
# sandbox running beside it, which no preset starts.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: built, but there is no display (DISPLAY is not set); Flagwright is a window program." >&2
    echo "Start it from a desktop session, or under a virtual one: xvfb-run bash scripts/run.sh" >&2
    exit 1
fi

data=.sandbox-data
[ -d "$data" ] || sandbox/emberline-sandbox seed "$data"

ready=$(mktemp -u)
trap 'sandbox/emberline-sandbox stop "$ready" || true' EXIT

# The instance is found through the browser on UDP 1434, which only one sandbox can hold.
if ss -uln 'sport = :1434' | grep -q ':1434'; then
    echo "run.sh: UDP 1434 is already taken; using the sandbox that is running there."
else
    sandbox/emberline-sandbox serve --data "$data" --background --ready-file "$ready" \
        >/dev/null || { echo "run.sh: the sandbox did not start" >&2; exit 1; }
    read -r _ port <"$ready"
    echo "run.sh: sandbox ready $port"
fi

build/dev/app/flagwright
