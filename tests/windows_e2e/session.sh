# Sourced by the Windows end-to-end tests: the installed programs under Wine, on the display
# and in the prefix of scripts/windows-env.sh, driven with real key presses (xdotool), their
# message boxes read by box_reader.exe, against the sandbox instance of the tests' fixture.
#
# Environment, set by CTest: WINDOWS_ARCH (x64 or x86, the build's), BOX_READER (the reader's
# path), SANDBOX_DIR, SANDBOX (its program: seeds samples, sends control requests, reads
# database files), PYTHON3.
set -euo pipefail
# The names these scripts hand to Wine are UTF-8, and Wine reads a program's Unix arguments
# in the locale's character set.
export LC_ALL=C.UTF-8

# Ends the test, and the window program it started if that still runs, so that no later test
# finds its window.
fail() {
    echo "FAIL: $*" >&2
    [ -z "${window_pid:-}" ] || kill -KILL "$window_pid" 2>/dev/null || true
    exit 1
}

[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] ||
    fail "no Wine session: source scripts/windows-env.sh before ctest"

# Where the package installs: the prefix is a 64-bit Windows, which keeps 32-bit programs and
# their registry view apart. Wine's reg.exe is a 32-bit one where 32-bit Wine is installed, so
# the view is always named.
case "${WINDOWS_ARCH:-}" in
x64) program_files='Program Files' registry_view=/reg:64 ;;
x86) program_files='Program Files (x86)' registry_view=/reg:32 ;;
*) fail "WINDOWS_ARCH is [${WINDOWS_ARCH:-}], not x64 or x86" ;;
esac
installed="$WINEPREFIX/drive_c/$program_files/Flagwright"
installed_window="C:\\$program_files\\Flagwright\\flagwright.exe"
installed_cli="C:\\$program_files\\Flagwright\\flagwright-cli.exe"

# Sends one control request (JSON) to the sandbox and fails unless it says ok; prints the
# reply's field FIELD when one is named.
sandbox_control() { # REQUEST [FIELD]
    "$PYTHON3" "$SANDBOX" control "$SANDBOX_DIR/control.sock" "$@" || fail "sandbox control $1"
}

# Fails unless each of the latest COUNT logins the sandbox recorded arrived inside TLS, and
# WHOLE (true or false) tells whether its connection stayed inside TLS.
expect_tls_logins() { # COUNT WHOLE
    sandbox_control '{"cmd": "status"}' logins | "$PYTHON3" -c '
import json, sys
count, whole = int(sys.argv[1]), sys.argv[2] == "true"
latest = json.load(sys.stdin)[-count:]
sys.exit(0 if len(latest) == count and all(l["tls"] and l["whole"] == whole for l in latest)
         else "logins: %s" % latest)' "$1" "$2" || fail "the latest $1 logins were not all inside TLS"
}

# Prints one Defaults value of a database file.
stored_default() { "$PYTHON3" "$SANDBOX" default "$1" "$2"; }

# Fails unless the database file is corrected and stamped: L_Kind holds exactly the rows of a
# completed update, DBVersion reads 14.01.04 and DBUpdateFrom 14.01.03.
expect_updated() {
    [ "$(stored_default "$1" DBVersion)" = 14.01.04 ] || fail "$1: DBVersion not stamped"
    [ "$(stored_default "$1" DBUpdateFrom)" = 14.01.03 ] || fail "$1: DBUpdateFrom not stamped"
    "$PYTHON3" "$SANDBOX" check-kinds "$1" >&2 || fail "$1: L_Kind differs"
}

# Starts the installed window program; sets window_pid and window (its X window).
start_window() {
    wine "$installed_window" </dev/null >/dev/null 2>&1 &
    window_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Emberline Flagwright$' |
        head -1) || fail "the window did not come up"
    xdotool windowfocus --sync "$window"
}

# Types a name into the combo box and presses the button, with the keyboard: the focus starts
# on the button, Tab leads to the combo box and back.
update_with_name() {
    xdotool key Tab
    xdotool type --delay 10 "$1"
    xdotool key shift+Tab space
}

# Reads the message box that comes up and dismisses it with Enter; fails unless it showed
# "TITLE|ICON|TEXT" as given. Returns once the window is in front again: a key pressed before,
# on a loaded machine, reaches no window.
expect_box() {
    local shown
    shown=$(wine "$BOX_READER" 30 </dev/null) || fail "no message box came (expected: $1)"
    shown=${shown%$'\r'}
    xdotool key Return
    [ "$shown" = "$1" ] || fail "message box: $shown; expected: $1"
    wine "$BOX_READER" --gone 30 </dev/null || fail "the message box stayed after Enter"
}

# Closes the window as an operator does; fails unless the program then ends.
close_window() {
    xdotool key alt+F4
    for _ in $(seq 100); do
        kill -0 "$window_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "the program did not end with its window"
}
