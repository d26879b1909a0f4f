#!/usr/bin/env bash
# Installs what is missing, checks the format, builds and runs every test twice (the dev preset
# with GCC, the asan preset with clang, AddressSanitizer and UBSan), builds the program alone
# as packagers do (the release preset, and a plain configure with Debian's build flags) and
# runs each libFuzzer target for a bounded time, then cross-builds the Windows program and runs
# its tests under Wine. The end-to-end tests mostly wait on the sandbox, so the next builds
# run beside them at the lowest priority. Ends with each step's wall-clock time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh windows
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

check_format() {
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
}

build_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$(nproc)"
}

# As a Debian package builds it: no preset, the distribution's flags (debhelper adds CPPFLAGS
# to the compile flags) and build type None. Warnings are errors here, in CI, only.
build_like_debian() {
    (
        eval "$(dpkg-buildflags --export=sh)"
        CXXFLAGS="$CXXFLAGS $CPPFLAGS" cmake -S . -B build/debian -DCMAKE_BUILD_TYPE=None \
            -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
        cmake --build build/debian -j "$(nproc)"
    )
}

asan_build() { step "asan build" build_preset asan; }

# The program alone as packagers build it, and the fuzz targets.
remaining_builds() {
    step release build_preset release
    step "debian flags" build_like_debian
    step "fuzz build" build_preset fuzz
    step "windows build" build_preset windows
    step "windows x86" build_preset windows-x86
}

# Runs a function in the background at the lowest priority, its output in build/<name>.log.
beside_pid=
beside() {
    echo "== $1 beside the tests, output in build/$1.log"
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        "$1"
    ) >"build/$1.log" 2>&1 &
    beside_pid=$!
}

# Waits for the background function; shows its output when it failed.
await() {
    if ! wait "$beside_pid"; then
        cat "build/$1.log"
        echo "test.sh: $1 failed" >&2
        exit 1
    fi
}
trap 'wait' EXIT # a failed step leaves no build running behind

started=$SECONDS
step format check_format
step "dev build" build_preset dev
beside asan_build
step "dev tests" ctest --preset dev
await asan_build
beside remaining_builds
step "asan tests" ctest --preset asan
await remaining_builds
step "fuzz tests" ctest --preset fuzz
step "windows tests" bash scripts/build-windows.sh

echo "== step times (builds beside tests overlap them)"
cat "$times"
printf '%-12s %4d s\n' total $((SECONDS - started))
