#!/usr/bin/env bash
# What CI runs (.ci/run): installs what is missing, then every workflow preset in the order
# `cmake --workflow --list-presets` lists them; `cmake --workflow --preset NAME` runs any one.
# A script still, for what presets cannot do: install packages, start Wine's environment for
# the Windows tests (scripts/build-windows.sh), and build the next presets beside the tests,
# which mostly wait on the sandbox, at the lowest priority; their workflows then find the
# builds done. Ends with each step's wall-clock time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh windows

# The tests of dev, asan and windows cannot run at once: each starts the sandbox on UDP 1434.
workflows=(dev asan release debian fuzz windows windows-x86)
listed=$(cmake --workflow --list-presets | sed -n 's/^ *"\([^"]*\)".*/\1/p' | xargs)
if [ "$listed" != "${workflows[*]}" ]; then
    echo "test.sh: runs the workflows ${workflows[*]}; CMakePresets.json lists $listed" >&2
    exit 1
fi

mkdir -p build
times=build/step-times
: >"$times"

# Runs one step and notes its time.
step() {
    local name=$1 started=$SECONDS
    shift
    echo "== $name"
    "$@"
    printf '%-12s %4d s\n' "$name" $((SECONDS - started)) >>"$times"
}

# Configures and builds presets in the background at the lowest priority, output in
# build/beside.log.
beside_pid=
beside() {
    echo "== building $* beside, output in build/beside.log"
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        for preset; do
            cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" || exit
        done
    ) >build/beside.log 2>&1 &
    beside_pid=$!
}

# Waits for the background builds; shows their output when they failed.
await() {
    if ! wait "$beside_pid"; then
        cat build/beside.log
        echo "test.sh: building beside the tests failed" >&2
        exit 1
    fi
}
trap 'wait' EXIT # a failed step leaves no build running behind

started=$SECONDS
beside asan
step dev cmake --workflow --preset dev
step "asan built" await
beside release debian fuzz windows windows-x86
step asan cmake --workflow --preset asan
step "rest built" await
for preset in release debian fuzz; do
    step "$preset" cmake --workflow --preset "$preset"
done
step windows bash scripts/build-windows.sh

echo "== step times (\"built\": the wait for what was built beside the step before)"
cat "$times"
printf '%-12s %4d s\n' total $((SECONDS - started))
