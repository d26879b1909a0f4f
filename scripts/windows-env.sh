# Sourced: the environment that runs the Windows build's programs under Wine, for one build
# tree. Makes the tree's own Wine prefix on first use (a 64-bit Windows that runs 32-bit
# programs too), starts a persistent wineserver and Wine's services, and an X display (Xvfb)
# for windows and message boxes.
#
#   source scripts/windows-env.sh [BUILD_DIR]    (default build/windows)
#   cmake --workflow --preset windows            (and --preset windows-x86)
#   windows_env_stop                             (ends the display and the wineserver)
#
# A script outside CTest, not a test fixture: Wine's services must be up before CTest starts
# (started by the first test, they would inherit CTest's output pipe and keep it open, and
# CTest would wait for them forever), and the display's number, known only once Xvfb runs, must
# be in the environment of every test.

windows_env_build_dir=$(realpath -m "${1:-$(dirname "${BASH_SOURCE[0]}")/../build/windows}")
mkdir -p "$windows_env_build_dir"

export WINEPREFIX="$windows_env_build_dir/wine-prefix"
export WINEDEBUG=-all
# No desktop entries in the host's menus; no Mono or Gecko installers on first start.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# One Xvfb per build tree, reused while it runs.
windows_env_display_file="$windows_env_build_dir/xvfb.display"
if [ -f "$windows_env_display_file" ] &&
    kill -0 "$(cut -d' ' -f2 "$windows_env_display_file")" 2>/dev/null; then
    export DISPLAY=":$(cut -d' ' -f1 "$windows_env_display_file")"
else
    windows_env_fifo=$(mktemp -u)
    mkfifo "$windows_env_fifo"
    setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$windows_env_fifo" \
        </dev/null >/dev/null 2>&1 &
    windows_env_xvfb=$!
    read -r windows_env_number <"$windows_env_fifo"
    rm -f "$windows_env_fifo"
    echo "$windows_env_number $windows_env_xvfb" >"$windows_env_display_file"
    export DISPLAY=":$windows_env_number"
fi

# A prefix made before 32-bit Wine (wine32) was installed runs 64-bit programs only: it is made
# anew once wine32 is there.
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ] &&
    [ -d /usr/lib/i386-linux-gnu/wine/i386-windows ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
fi
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "windows-env: making the Wine prefix $WINEPREFIX (once per build tree)"
    setsid wineboot -i </dev/null >/dev/null 2>&1
    # Xvfb has no window manager: Wine draws the windows' frames itself and does not wait two
    # seconds for a manager whenever a window or message box closes. An X window is then the
    # whole window, frame included.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # The glyphs of the frame's buttons.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    # Until the server that made the prefix has ended, every window takes seconds to open
    # (measured: 15 to 22 s per window test instead of 1.5).
    wineserver -w
fi
# A persistent server, so that every Wine program below and in the tests uses the same one.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true # 2: one runs already
setsid wine cmd /c exit </dev/null >/dev/null 2>&1

windows_env_stop() {
    wineserver -k 2>/dev/null
    [ -f "$windows_env_display_file" ] && kill "$(cut -d' ' -f2 "$windows_env_display_file")" 2>/dev/null
    rm -f "$windows_env_display_file"
    true
}
