#!/usr/bin/env bash
# Builds Lumatone and starts it on the user's display: on Linux the native
# program (build/linux/lumatone; settings in ~/.config/lumatone/settings.ini),
# on Windows lumatone.exe. With --windows, on Linux, it builds lumatone.exe
# and starts it under Wine instead (settings.ini beside the executable).
#
# Without a display (DISPLAY unset) it starts the project's own virtual desktop
# (scripts/env.sh: X server, tray host, PulseAudio null sink, Wine server), runs
# the program there, saves a screenshot and prints its path, and keeps running
# until Ctrl+C. Then the program ends as at a log-off, saving its settings, and
# everything started here is stopped.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

program_pid=""
windows=false
[ "${1:-}" = "--windows" ] && windows=true

# Ends the program as at a log-off (it saves its settings then) and stops the
# virtual desktop with everything in it.
stop_virtual_desktop() {
    trap - INT TERM EXIT
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        echo "Ending Lumatone as at a log-off, so that it saves its settings."
        if $windows; then
            timeout 20 wine wineboot --end-session >/dev/null 2>&1 || true
        else
            kill -TERM "$program_pid" 2>/dev/null || true
        fi
        for _ in $(seq 50); do
            kill -0 "$program_pid" 2>/dev/null || break
            sleep 0.2
        done
    fi
    lumatone_env_stop
    echo "Stopped the virtual desktop."
}

run_on_virtual_desktop() {
    # A desktop and Wine prefix of its own, apart from the tests'.
    export LUMATONE_ENV_DIR="$root/build/run/env"
    export WINEPREFIX="$root/build/run/wineprefix"
    $windows || export LUMATONE_ENV_WINE=0
    # shellcheck source=scripts/env.sh
    source scripts/env.sh
    trap stop_virtual_desktop EXIT
    trap 'exit 130' INT TERM

    echo "No display (DISPLAY is not set): starting a virtual desktop of our own."
    lumatone_env_start
    xsetroot -solid '#3a6ea5'
    # In a session of its own, so that Ctrl+C reaches this script only and the
    # program is still there to save when asked to end.
    if $windows; then
        setsid wine "$exe" >"$LUMATONE_ENV_DIR/lumatone.log" 2>&1 </dev/null &
    else
        setsid "$exe" >"$LUMATONE_ENV_DIR/lumatone.log" 2>&1 </dev/null &
    fi
    program_pid=$!
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Lumatone$' >/dev/null 2>&1 && break
        xdotool search --classname lumatone.exe >/dev/null 2>&1 && break
        kill -0 "$program_pid" 2>/dev/null || {
            echo "Lumatone ended at once; its output: $LUMATONE_ENV_DIR/lumatone.log" >&2
            exit 1
        }
        sleep 0.2
    done
    sleep 1 # its read-outs fill in
    local shot="$root/build/run/screenshot.png"
    import -window root "$shot"
    echo "Lumatone runs on the virtual display $DISPLAY."
    echo "Screenshot: $shot"
    echo "Press Ctrl+C to stop it."
    while kill -0 "$program_pid" 2>/dev/null; do
        sleep 1 &
        wait $! || true
    done
    echo "Lumatone ended."
    exit 0
}

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) windows=true ;;
*) scripts/install.sh ;;
esac
if $windows; then
    cmake --preset windows-x64 >/dev/null
    cmake --build --preset windows-x64 -j"$(nproc)" --target lumatone
    exe=$(pwd)/build/win64/lumatone.exe
else
    cmake --preset linux >/dev/null
    cmake --build --preset linux -j"$(nproc)" --target lumatone
    exe=$(pwd)/build/linux/lumatone
fi

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) exec "$exe" ;;
esac

if [ -z "${DISPLAY:-}" ]; then
    run_on_virtual_desktop
fi
if ! xdpyinfo >/dev/null 2>&1; then
    echo "Built $exe, but the display $DISPLAY cannot be opened." >&2
    exit 1
fi
if ! $windows; then
    echo "Starting Lumatone on $DISPLAY; it lives in the notification area."
    exec "$exe"
fi
echo "Starting Lumatone under Wine on $DISPLAY; it lives in the notification area."
WINEDEBUG="${WINEDEBUG:--all}" exec wine "$exe"
