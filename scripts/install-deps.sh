#!/usr/bin/env bash
# Installs the Debian 12 packages Flagwright needs to build, test and run, if any is missing:
# for the Linux program, or with the argument "windows" for the Windows program, cross-built
# with mingw-w64 for x64 and x86 and tested under Wine (64-bit and 32-bit) on a virtual display.
# A script, since the presets find what they need but cannot install it.
#
#   bash scripts/install-deps.sh [windows]
set -euo pipefail

if [ "${1:-}" = windows ]; then
    packages=(
        cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest
        g++-mingw-w64-i686-posix mingw-w64-i686-dev
        wine wine64 wine32:i386 fonts-wine xvfb xauth xdotool icoutils wixl msitools
        # Wine's odbc32 passes to the host's unixODBC, and so to FreeTDS: 32-bit Wine to the
        # i386 ones.
        unixodbc tdsodbc libodbc2:i386 tdsodbc:i386
    )
else
    packages=(
        build-essential cmake ninja-build clang libclang-rt-14-dev clang-format-14
        qt6-base-dev
        unixodbc-dev tdsodbc freetds-bin libsqlite3-dev iproute2
        libgtest-dev libgmock-dev
        python3 python3-tds
        xvfb xauth fonts-liberation
        # The test of deploy/ansible runs the playbook; Debian's package has ansible.windows.
        ansible
    )
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
# wine32 and the i386 libraries come from Debian's i386 architecture.
if [ "${1:-}" = windows ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
# A mirror in mid-sync serves an index that fails its checksum, sometimes for days; one bad
# index need not stop the install, which fails by itself if a package cannot be had. Without
# one architecture's security index, the two architectures' candidates differ (amd64 from the
# security archive, i386 from the release), and multiarch libraries must match: the release's
# own versions ("-t" its codename) keep them in step.
release=()
for attempt in 1 2 3; do
    "${sudo[@]}" apt-get update -q && break
    [ "$attempt" -lt 3 ] && sleep 20
done || {
    echo "install-deps.sh: apt-get update failed; installing from the indexes it has" >&2
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -z "$codename" ] || release=(-t "$codename")
}
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${release[@]}" "${missing[@]}"
