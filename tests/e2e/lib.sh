# shellcheck shell=bash
# Sourced by the end-to-end cases: start lumatone.exe under Wine as a user
# would, drive it with xdotool, read it back through the probe, the settings
# file and the registry. Needs scripts/env.sh started (DISPLAY, WINEPREFIX).
# Every step waits for what it expects to see, never for a fixed time: each
# probe starts a Wine process, so on a loaded machine a step may take seconds.

E2E_BUILD="${E2E_BUILD:?the Windows build folder}"
E2E_WORK="${E2E_WORK:?a scratch folder}"
E2E_ARTIFACTS="${E2E_ARTIFACTS:-$E2E_WORK/artifacts}"
# shellcheck source=tests/e2e/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
E2E_DIR=""

probe() { wine "$E2E_BUILD/lumatone_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

set_windows_version() { # winxp, vista, win7 ...
    wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
}

started() { probe window >/dev/null && tray_icon >/dev/null; }
started_or_ended() { started || ended; }

# start_program NAME [SETTINGS]: a fresh folder with the program and the given
# settings.ini, started under Wine; waits until the main window exists.
start_program() {
    E2E_DIR="$E2E_WORK/$1"
    rm -rf "$E2E_DIR"
    mkdir -p "$E2E_DIR"
    cp "$E2E_BUILD/lumatone.exe" "$E2E_DIR/"
    [ -z "${2:-}" ] || printf '%s\n' "$2" >"$E2E_DIR/settings.ini"
    # A case may act on the fresh folder before the program starts.
    "${E2E_BEFORE_START:-true}"
    WINEDEBUG=+systray wine "$E2E_DIR/lumatone.exe" >"$E2E_DIR/wine.log" 2>&1 &
    E2E_PID=$!
    until_true 60 started_or_ended
    started && return 0
    echo "  lumatone.exe did not open its window" >&2
    return 1
}

# Waits for the program to end by itself; true when it did.
wait_exit() { until_true 30 ended; }

# Ends a program that a failed case left running.
stop_program() {
    if running; then
        kill "$E2E_PID" 2>/dev/null || true
        wait_exit || kill -9 "$E2E_PID" 2>/dev/null || true
    fi
    E2E_PID=""
}

# control CLASS CONTAINER TEXT: the probe's line of that control.
control() { probe controls | awk -F'|' -v c="$1" -v g="$2" -v t="$3" \
    '$1 == c && $2 == g && $10 == t { print; exit }'; }
# nth_control CLASS CONTAINER N: the Nth control of a class in a group (from 1).
nth_control() { probe controls | awk -F'|' -v c="$1" -v g="$2" -v n="$3" \
    '$1 == c && $2 == g && ++k == n { print; exit }'; }
field() { cut -d'|' -f"$1"; }

# window_is FIELDS: "probe window" starts so, e.g. "0 1" (hidden, iconic).
window_is() {
    local w
    w=$(probe window) && [[ "$w " == "$1 "* ]]
}
window_position() { probe window | cut -d' ' -f3-4; }
# focus_is CLASS|TEXT: the control with the program's keyboard focus.
focus_is() { [ "$(probe focus)" = "$1" ]; }
# The program has the keyboard focus at all (a hidden or inactive one has none).
has_focus() {
    local f
    f=$(probe focus) && [ -n "$f" ] && [ "$f" != "|" ]
}

click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; }
# Clicks the middle of a control given by its probe line.
click_control() {
    local line=$1
    [ -n "$line" ] || { echo "        no such control" >&2 && return 1; }
    click_at $(($(field 5 <<<"$line") + $(field 7 <<<"$line") / 2)) \
        $(($(field 6 <<<"$line") + $(field 8 <<<"$line") / 2))
}
# Gives the main window the focus the way a user does: a click on a caption
# that does nothing.
focus_window() {
    click_control "$(control Static "Lumatone - V7" "By Tressalunde")"
    until_true 20 has_focus
}

# The program's icon in the XEmbed tray: "x y width height" on the screen.
tray_icon() {
    xwininfo -root -tree 2>/dev/null | awk '
        /"panel": \("panel" "trayer"\)/ { inside = 1; indent = match($0, /[^ ]/); next }
        inside && match($0, /[^ ]/) <= indent { inside = 0 }
        inside && /"explorer.exe"/ {
            split($(NF-1), g, /[x+]/); split($NF, a, /\+/)
            print a[2], a[3], g[1], g[2]; found = 1; exit }
        END { exit !found }'
}
no_tray_icon() { ! tray_icon >/dev/null; }
# The shell holds the program's icon.
icon_present() { [ "$(probe tray-exists)" = 1 ]; }
menu_open() { probe menu >/dev/null; }
tray_click() { # tray_click BUTTON [REPEAT]; the caller waits for what it does
    local x y w h
    read -r x y w h <<<"$(tray_icon)"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat "${2:-1}" --delay 120 "$1"
}

# Keys saved to the four sections the program owns.
saved_keys() {
    awk '{ sub(/\r$/, "") } /^\[/ { s = $0 } /=/ && (s == "[Windows]" || s == "[Gamma]" ||
         s == "[Digital Vibrance]" || s == "[Volume]") { n++ } END { print n + 0 }' \
        "$E2E_DIR/settings.ini" 2>/dev/null || echo 0
}
ini_value() { # ini_value SECTION KEY
    awk -F= -v s="[$1]" -v k="$2" '{ sub(/\r$/, "") } /^\[/ { in_s = ($0 == s) }
        in_s && $1 == k { print $2; exit }' "$E2E_DIR/settings.ini"
}
# The shell was asked to delete the icon (shell32's own trace of the call).
icon_deleted() { grep -q 'Shell_NotifyIconW dwMessage = 2' "$E2E_DIR/wine.log"; }

screenshot() { # screenshot NAME: the main window as the user sees it
    local x y w h
    read -r _ _ x y w h <<<"$(probe window)"
    import -window root "$E2E_WORK/screen.png" &&
        convert "$E2E_WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage \
            "$E2E_ARTIFACTS/$1.png"
}
