#!/usr/bin/env bash
# Installs the Debian 12 packages Flagwright needs to build, test and run, if any is missing:
# for the Linux program, or with the argument "windows" for the Windows program, cross-built
# with mingw-w64 and tested under Wine on a virtual display.
#
#   bash scripts/install-deps.sh [windows]
set -euo pipefail

if [ "${1:-}" = windows ]; then
    packages=(
        cmake g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest
        wine wine64 fonts-wine xvfb xauth xdotool icoutils wixl msitools
        # Wine's odbc32 passes to the host's unixODBC, and so to FreeTDS.
        unixodbc tdsodbc
    )
else
    packages=(
        build-essential cmake clang libclang-rt-14-dev clang-format-14
        qt6-base-dev
        unixodbc-dev tdsodbc freetds-bin libsqlite3-dev iproute2
        libgtest-dev libgmock-dev
        python3 python3-tds
        xvfb xauth fonts-liberation
    )
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
