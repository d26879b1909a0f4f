#!/usr/bin/env bash
# Installs what is missing, cross-builds the Windows program and its tests with mingw-w64 for
# x64 and x86 (build/windows and build/windows-x86, statically linked) and runs the tests under
# Wine on a virtual display: the x64 build's whole suite, then the x86 build's under 32-bit
# Wine (the windows-x86 test preset says which). Both runs share one Wine prefix, the x64
# tree's; the display and Wine's server are stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
for preset in windows windows-x86; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done

source scripts/windows-env.sh build/windows
trap windows_env_stop EXIT
ctest --preset windows
ctest --preset windows-x86
