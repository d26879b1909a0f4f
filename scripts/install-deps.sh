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
        # The sandbox's TLS: openssl makes its certificate, python3-openssl gives pytds TLS.
        python3 python3-tds python3-openssl openssl
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
# index need not stop the install. The retries are for a sync that ends soon.
updated=false
for attempt in 1 2 3; do
    "${sudo[@]}" apt-get update -q && { updated=true; break; }
    [ "$attempt" -lt 3 ] && sleep 20
done
if $updated; then
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
    exit
fi
echo "install-deps.sh: apt-get update failed; installing from the indexes it has" >&2

# Without one architecture's index of a suite (say i386 of bookworm-security) the two
# architectures' candidates differ, and a Multi-Arch: same library must have one version on
# both. What apt can install as it is goes in as with every index read. Otherwise, for a
# library that is not installed yet, the release's own versions ("-t" its codename) keep the
# two in step without downgrading anything; for one already installed at a version that only
# the unreadable index offers for the other architecture, its twin at that version lies in the
# pool beside the installed one's file: each such twin that apt finds missing is fetched from
# there and installed from the file, until apt is satisfied or names nothing new.
native=$(dpkg --print-architecture)
mapfile -t foreign < <(dpkg --print-foreign-architectures)

twins=$(mktemp -d)
trap 'rm -rf "$twins"' EXIT
chmod 755 "$twins" # apt reads and writes it as its unprivileged user _apt too
files=()          # the twins fetched so far
declare -A tried  # every twin looked for, fetched or not
refused=()        # why each twin that could not be had was refused

# Prints the version of NAME installed for the native architecture if it is a Multi-Arch: same
# library whose twin for ARCH at that version no readable index offers.
twin_version() {
    local name=$1 arch=$2 installed
    installed=$(dpkg-query -W -f='${db:Status-Abbrev}|${Version}|${Multi-Arch}' \
        "$name:$native" 2>/dev/null) || return 1
    [[ $installed == ii\ *\|*\|same ]] || return 1
    installed=${installed#*|}
    installed=${installed%|*}
    apt-cache madison "$name:$arch" | awk -F' *[|] *' -v v="$installed" '$2 == v { f = 1 } END { exit f }' ||
        return 1
    echo "$installed"
}

# Fetches NAME's twin for ARCH at VERSION from beside the native file in the pool, and checks
# that the file is that package. The twin comes with no index to check its hash against; its
# name, version and architecture are checked.
fetch_twin() {
    local name=$1 arch=$2 version=$3 uri file control
    uri=$(apt-get download --print-uris "$name:$native=$version" 2>&1 | sed -n "s/^'\([^']*\)' .*/\1/p")
    if [[ $uri != *_"$native".deb ]]; then
        refused+=("$name:$arch $version: apt names no file for the installed $name:$native")
        return 1
    fi
    uri=${uri%_"$native".deb}_$arch.deb
    file=$twins/${name}_$arch.deb
    if ! /usr/lib/apt/apt-helper download-file "$uri" "$file" >/dev/null 2>&1; then
        refused+=("$name:$arch $version: could not be fetched from beside $name:$native in the pool ($uri)")
        return 1
    fi
    control=$(dpkg-deb -f "$file" Package Version Architecture 2>/dev/null | tr '\n' ' ')
    if [ "$control" != "Package: $name Version: $version Architecture: $arch " ]; then
        refused+=("$name:$arch $version: $uri holds another package (${control:-no package})")
        return 1
    fi
    chmod 644 "$file"
    files+=("$file")
    echo "install-deps.sh: $name:$arch $version from $uri, checked by name, version and architecture" >&2
}

release=()
simulate() { LC_ALL=C apt-get install -s "${release[@]}" "${missing[@]}" "${files[@]}" 2>&1; }
if ! simulate >/dev/null; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -z "$codename" ] || release=(-t "$codename")
fi
while ! answer=$(simulate); do
    fetched=${#files[@]}
    for arch in "${foreign[@]}"; do
        for name in $(grep -o "[a-z0-9][a-z0-9.+-]*:$arch" <<<"$answer" | sed "s/:$arch\$//" | sort -u); do
            [ -z "${tried[$name:$arch]:-}" ] || continue
            tried[$name:$arch]=1
            version=$(twin_version "$name" "$arch") || continue
            fetch_twin "$name" "$arch" "$version" || true
        done
    done
    if [ ${#files[@]} -eq "$fetched" ]; then
        echo "install-deps.sh: apt cannot install ${missing[*]} while an index cannot be read:" >&2
        grep -E '^ |^E:' <<<"$answer" >&2 || echo "$answer" >&2
        for reason in "${refused[@]}"; do
            echo "install-deps.sh: $reason" >&2
        done
        exit 1
    fi
done
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${release[@]}" "${missing[@]}" "${files[@]}"
