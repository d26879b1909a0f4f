#!/usr/bin/env bash
# Installs what is missing, then runs the windows and windows-x86 workflow presets: the program
# and its tests cross-built with mingw-w64 for x64 and x86 (build/windows and
# build/windows-x86, statically linked), the tests run under Wine on a virtual display, the
# x86 build's under 32-bit Wine (the windows-x86 test preset says which). A script, since the
# tests need Wine's environment started before CTest (scripts/windows-env.sh says why); both
# runs share one Wine prefix, the x64 tree's. The display and Wine's server end with it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
source scripts/windows-env.sh build/windows
trap windows_env_stop EXIT
cmake --workflow --preset windows
cmake --workflow --preset windows-x86
