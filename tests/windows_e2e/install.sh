#!/usr/bin/env bash
# Installs the MSI silently: both programs in Program Files\Flagwright, a Start-menu shortcut,
# one entry to remove it by, also when the package is installed twice. The package declares
# itself the upgrade of every older version (Windows then removes the older one as it
# installs); Wine 8's msiexec does not carry upgrades out, so that is checked in the package.
#
#   install.sh MSI VERSION
source "$(dirname "$0")/session.sh"
msi=$1 version=$2

# A grep that reads the whole pipe (never -q): under pipefail, -q stopping early would fail
# the writer with SIGPIPE now and then.
upgrade_code='{5D1B7C3E-2F4A-4E8B-9C61-7A3D2E9F0B14}'
# Older versions (below this one) are found and removed: attributes 1, no minimum.
older_versions_row=$(printf '%s\t\t%s\t\t1\t\tWIX_UPGRADE_DETECTED' "$upgrade_code" "$version")
msiinfo export "$msi" Upgrade | tr -d '\r' | grep -xF "$older_versions_row" >/dev/null ||
    fail "the package does not find older versions to replace"
msiinfo export "$msi" InstallExecuteSequence | grep '^RemoveExistingProducts' >/dev/null ||
    fail "the package does not remove what it replaces"

# The versions of Flagwright that Windows lists as installed, one per line.
installed_versions() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s \
        "$registry_view" </dev/null |
        tr -d '\r' | awk '/DisplayName .*REG_SZ +Flagwright$/ { named = 1 }
            /DisplayVersion/ && named { print $NF; named = 0 }'
}

for _ in 1 2; do
    wine msiexec /i "Z:$msi" /qn </dev/null || fail "msiexec /i"
done
for program in flagwright.exe flagwright-cli.exe; do
    [ -f "$installed/$program" ] || fail "$program is not in Program Files\\Flagwright"
done
find "$WINEPREFIX/drive_c" -name 'Emberline Flagwright.lnk' | grep . >/dev/null ||
    fail "no Start-menu shortcut"
[ "$(installed_versions)" = "$version" ] || fail "installed: [$(installed_versions)]"
