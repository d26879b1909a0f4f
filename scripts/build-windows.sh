#!/usr/bin/env bash
# Installs what is missing, cross-builds the Windows program and its tests with mingw-w64
# (build/windows/app/flagwright.exe, statically linked) and runs the tests under Wine on a
# virtual display; the display and Wine's server are stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

source scripts/windows-env.sh build/windows
trap windows_env_stop EXIT
ctest --preset windows
