# shellcheck shell=bash
# Sourced by test scripts: the desktop the Windows and Linux tests run in.
#
#   lumatone_wait SECONDS COMMAND...
#                             polls the command every 0.1 s until it succeeds;
#                             false when SECONDS pass first
#   lumatone_env_start        Xvfb, Xorg (dummy driver, 60 and 75 Hz modes), a tray
#                             host, a PulseAudio null sink and the Wine server
#   lumatone_env_stop_pulse   PulseAudio only (the tests of a system without sound)
#   lumatone_env_stop         everything lumatone_env_start started
#   lumatone_tray_stop, lumatone_tray_start
#                             the XEmbed tray host only
#   lumatone_sni_host_start   a status notifier watcher and host on the session
#                             bus (tests/e2e-linux/sni_host.py): tray icons go
#                             there instead of the XEmbed tray from then on
#   lumatone_sni_host_stop    that host only
#   lumatone_make_prefix      the private Wine prefix, created once
#
# After lumatone_env_start: DISPLAY is the Xorg dummy display, LUMATONE_XVFB_DISPLAY
# the Xvfb one, PULSE_SERVER the null sink's server, WINEPREFIX the private prefix.
# LUMATONE_ENV_WINE=0 leaves Wine out, for the tests of the Linux program, and
# starts a session bus of its own (DBUS_SESSION_BUS_ADDRESS).
# Every process is started here and its id kept under LUMATONE_ENV_DIR, so a run
# that died half-way is cleaned up by the next one. Works as root without a
# session bus.

LUMATONE_ROOT="${LUMATONE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
LUMATONE_ENV_DIR="${LUMATONE_ENV_DIR:-$LUMATONE_ROOT/build/env}"
export WINEPREFIX="${WINEPREFIX:-$LUMATONE_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them and their installers would ask.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

_lumatone_log() { echo "env: $*" >&2; }

lumatone_wait() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

_lumatone_gone() { ! kill -0 "$1" 2>/dev/null; }

# Starts a program in the background with its output in the state folder and
# remembers its id under the given name.
_lumatone_spawn() {
    local name=$1
    shift
    setsid "$@" >"$LUMATONE_ENV_DIR/$name.log" 2>&1 </dev/null &
    echo $! >"$LUMATONE_ENV_DIR/$name.pid"
}

# Ends a process this file started, found by its id file, and only if that
# id still belongs to the program that was started (ids get reused).
_lumatone_kill() {
    local program=$2 pidfile="$LUMATONE_ENV_DIR/$1.pid" pid
    [ -f "$pidfile" ] || return 0
    pid=$(cat "$pidfile")
    rm -f "$pidfile"
    [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 0
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$program" || return 0
    kill "$pid" 2>/dev/null || return 0
    lumatone_wait 10 _lumatone_gone "$pid" || kill -9 "$pid" 2>/dev/null || true
}

_lumatone_pulse_up() { pactl info >/dev/null 2>&1; }

# The X server wrote its display number, or died trying.
_lumatone_x_settled() { [ -s "$1" ] || _lumatone_gone "$2"; }

# Starts an X server that picks a free display itself (-displayfd), so runs
# of other people on the same machine never collide; prints the display.
_lumatone_start_x() {
    local name=$1 program=$2 fdfile="$LUMATONE_ENV_DIR/$1.display"
    shift
    rm -f "$fdfile"
    : >"$fdfile"
    setsid "$@" -displayfd 3 3>"$fdfile" >"$LUMATONE_ENV_DIR/$name.log" 2>&1 </dev/null &
    echo $! >"$LUMATONE_ENV_DIR/$name.pid"
    lumatone_wait 60 _lumatone_x_settled "$fdfile" $! || true
    if [ -s "$fdfile" ]; then
        echo ":$(tr -d '[:space:]' <"$fdfile")"
        return 0
    fi
    _lumatone_log "$program did not start; its log:"
    tail -n 20 "$LUMATONE_ENV_DIR/$name.log" >&2
    return 1
}

_lumatone_xorg_conf() {
    # Standard VESA timings: 65 MHz / (1344 x 806) = 60 Hz, 78.75 MHz / (1312 x 800) = 75 Hz.
    cat <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 32768
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 28.0-80.0
    VertRefresh 48.0-80.0
    Modeline "1024x768_60" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "1024x768_75" 78.75 1024 1040 1136 1312 768 769 772 800 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768_60" "1024x768_75"
    EndSubSection
EndSection
EOF
}

lumatone_make_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    _lumatone_log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Without a display: wineboot needs none, and shows no dialogs then.
    env -u DISPLAY wineboot -i >/dev/null 2>&1 || true
    env -u DISPLAY wineserver -w || true
    [ -f "$WINEPREFIX/system.reg" ] || {
        _lumatone_log "Wine could not create $WINEPREFIX"
        return 1
    }
}

lumatone_env_stop_pulse() {
    _lumatone_kill pulseaudio pulseaudio
}

_lumatone_bus_up() { [ -S "$1" ]; }
_lumatone_sni_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
        grep -q 'boolean true'
}

# Wine shows tray icons only where an XEmbed tray host runs.
lumatone_tray_start() {
    _lumatone_spawn trayer trayer --edge top --align right --widthtype pixel --width 200 \
        --height 32 --transparent false
}

lumatone_tray_stop() {
    _lumatone_kill trayer trayer
}

lumatone_sni_host_start() {
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || {
        _lumatone_log "no session bus for a status notifier host"
        return 1
    }
    _lumatone_spawn sni-host /usr/bin/python3 "$LUMATONE_ROOT/tests/e2e-linux/sni_host.py" serve
    lumatone_wait 20 _lumatone_sni_up || {
        _lumatone_log "the status notifier host did not start; its log:"
        tail -n 20 "$LUMATONE_ENV_DIR/sni-host.log" >&2
        return 1
    }
}

lumatone_sni_host_stop() {
    _lumatone_kill sni-host sni_host.py
}

lumatone_env_stop() {
    # The Wine server first: it ends every Windows process of the prefix with it.
    if [ "${LUMATONE_ENV_WINE:-1}" != 0 ] && [ -d "$WINEPREFIX" ] && command -v wineserver >/dev/null; then
        wineserver -k 2>/dev/null || true
        timeout 20 wineserver -w 2>/dev/null || true
    fi
    lumatone_tray_stop
    lumatone_sni_host_stop
    _lumatone_kill dbus dbus-daemon
    lumatone_env_stop_pulse
    _lumatone_kill xorg Xorg
    _lumatone_kill xvfb Xvfb
    if [ -f "$LUMATONE_ENV_DIR/runtime" ]; then
        rm -rf "$(cat "$LUMATONE_ENV_DIR/runtime")"
        rm -f "$LUMATONE_ENV_DIR/runtime"
    fi
}

lumatone_env_start() {
    mkdir -p "$LUMATONE_ENV_DIR"
    # Whatever an earlier run left behind.
    lumatone_env_stop
    if [ "${LUMATONE_ENV_WINE:-1}" != 0 ]; then
        lumatone_make_prefix || return 1
    fi

    # Sockets want a short path; the state folder may be deep.
    local runtime
    runtime=$(mktemp -d /tmp/lumatone-env.XXXXXX)
    echo "$runtime" >"$LUMATONE_ENV_DIR/runtime"
    chmod 700 "$runtime"
    # The desktop is a session of its own: what a program keeps per session
    # (the Linux program's one-copy lock) stays apart from other desktops.
    export XDG_RUNTIME_DIR="$runtime"

    LUMATONE_XVFB_DISPLAY=$(_lumatone_start_x xvfb Xvfb -screen 0 1024x768x24 -nolisten tcp -noreset) ||
        return 1
    export LUMATONE_XVFB_DISPLAY

    _lumatone_xorg_conf >"$LUMATONE_ENV_DIR/xorg.conf"
    DISPLAY=$(_lumatone_start_x xorg Xorg -config "$LUMATONE_ENV_DIR/xorg.conf" \
        -logfile "$LUMATONE_ENV_DIR/xorg-server.log" -nolisten tcp -noreset -novtswitch -sharevts) ||
        return 1
    export DISPLAY

    # The Linux program's desktop has a session bus, as a user's has: Qt asks
    # it for a status notifier host before it docks in the XEmbed tray.
    if [ "${LUMATONE_ENV_WINE:-1}" = 0 ]; then
        _lumatone_spawn dbus dbus-daemon --session --nofork --address="unix:path=$runtime/bus"
        lumatone_wait 20 _lumatone_bus_up "$runtime/bus" || {
            _lumatone_log "the session bus did not start; its log:"
            tail -n 20 "$LUMATONE_ENV_DIR/dbus.log" >&2
            return 1
        }
        export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
    fi

    lumatone_tray_start

    # A sound server of our own with nothing but a null sink; -n skips the
    # default script (and with it every module that wants a session bus).
    mkdir -p "$runtime/pulse"
    export PULSE_SERVER="unix:$runtime/pulse/native"
    # No bus address at all would make it try to autolaunch one through X.
    DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/no-bus" XDG_RUNTIME_DIR="$runtime" \
        _lumatone_spawn pulseaudio pulseaudio --daemonize=no -n \
        --exit-idle-time=-1 --use-pid-file=false --system=false \
        -L "module-native-protocol-unix socket=$runtime/pulse/native auth-anonymous=1" \
        -L "module-null-sink sink_name=lumatone_null"
    lumatone_wait 30 _lumatone_pulse_up || {
        _lumatone_log "PulseAudio did not start; its log:"
        tail -n 20 "$LUMATONE_ENV_DIR/pulseaudio.log" >&2
        return 1
    }
    pactl set-default-sink lumatone_null >/dev/null

    # A persistent Wine server, so the many short test processes share one,
    # and its service processes started now, apart from anyone's output:
    # started by a test they would hold its output pipe open.
    if [ "${LUMATONE_ENV_WINE:-1}" != 0 ]; then
        wineserver -p
        wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    fi
    _lumatone_log "Xorg dummy $DISPLAY, Xvfb $LUMATONE_XVFB_DISPLAY, PulseAudio $PULSE_SERVER"
}
