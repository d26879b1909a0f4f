#!/usr/bin/env bash
# Installs the MSI silently: both programs in Program Files\Flagwright, a Start-menu shortcut,
# an entry to remove it by. Installed a second time, the package replaces the first: one entry.
source "$(dirname "$0")/session.sh"
msi=$1

for _ in 1 2; do
    wine msiexec /i "Z:$msi" /qn </dev/null || fail "msiexec /i"
done
for program in flagwright.exe flagwright-cli.exe; do
    [ -f "$installed/$program" ] || fail "$program is not in Program Files\\Flagwright"
done
find "$WINEPREFIX/drive_c" -name 'Emberline Flagwright.lnk' | grep -q . ||
    fail "no Start-menu shortcut"
entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null |
    grep -c 'DisplayName.*Flagwright') || true
[ "$entries" = 1 ] || fail "$entries uninstall entries, expected one"
