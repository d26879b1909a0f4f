#!/usr/bin/env bash
# Removes the MSI silently: nothing of it is left.
source "$(dirname "$0")/session.sh"
msi=$1

wine msiexec /x "Z:$msi" /qn </dev/null || fail "msiexec /x"
[ ! -e "$installed" ] || fail "Program Files\\Flagwright is still there: $(ls "$installed")"
! find "$WINEPREFIX/drive_c" -name 'Emberline Flagwright.lnk' | grep . >/dev/null ||
    fail "the Start-menu shortcut is still there"
! wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s \
    "$registry_view" </dev/null |
    grep 'DisplayName.*Flagwright' >/dev/null || fail "the uninstall entry is still there"
