#!/usr/bin/env bash
# Installs what is missing, builds Flagwright twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds, then runs each libFuzzer
# target for a bounded time; last, cross-builds the Windows program and runs its tests under
# Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
for preset in dev asan fuzz; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
    ctest --preset "$preset"
done
echo "== windows"
bash scripts/build-windows.sh
