# shellcheck shell=bash
# Sourced by the end-to-end cases of the Linux program: start it with a
# configuration folder of its own, drive it with xdotool, read it back through
# X (xwininfo), RandR (the probe) and its settings file. Needs scripts/env.sh
# started (DISPLAY, PULSE_SERVER). Every step waits for what it expects to
# see, never for a fixed time.

E2E_BUILD="${E2E_BUILD:?the Linux build folder}"
E2E_WORK="${E2E_WORK:?a scratch folder}"
E2E_ARTIFACTS="${E2E_ARTIFACTS:-$E2E_WORK/artifacts}"
# shellcheck source=tests/e2e/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/checks.sh"
E2E_DIR=""

probe() { "$E2E_BUILD/lumatone_linux_probe" "$@"; }

# The program's top-level windows (Qt's 1 x 1 helpers left out), one line each:
# "id x y width height mapped override-redirect" (mapped and override 1 or 0).
program_windows() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null |
        awk '/\("lumatone" "lumatone"\)/ { print $1 }'); do
        xwininfo -id "$id" | awk -v id="$id" '
            /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
            /Width:/ { w = $2 } /Height:/ { h = $2 }
            /Map State:/ { m = ($3 == "IsViewable") } /Override Redirect State:/ { o = ($4 == "yes") }
            END { if (w > 1 && h > 1) print id, x, y, w, h, m + 0, o + 0 }'
    done
}
# The main window's X id, whether mapped or not: the one the window manager
# may manage (a menu bypasses it), named after the program.
main_window() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null |
        awk '/"Lumatone": \("lumatone" "lumatone"\)/ { print $1 }'); do
        program_windows | awk -v id="$id" '$1 == id && $7 == 0 { found = 1 } END { exit !found }' &&
            echo "$id" && return 0
    done
    return 1
}
window_shown() {
    local w
    w=$(main_window) && xwininfo -id "$w" | grep -q 'Map State: IsViewable'
}
window_hidden() {
    local w
    w=$(main_window) && xwininfo -id "$w" | grep -q 'Map State: IsUnMapped'
}
# The program's icon in trayer: "x y width height" on the screen.
tray_icon() {
    xwininfo -root -tree 2>/dev/null | awk '
        /"panel": \("panel" "trayer"\)/ { inside = 1; indent = match($0, /[^ ]/); next }
        inside && match($0, /[^ ]/) <= indent { inside = 0 }
        inside && /\("lumatone" "lumatone"\)/ {
            split($(NF-1), g, /[x+]/); split($NF, a, /\+/)
            print a[2], a[3], g[1], g[2]; found = 1; exit }
        END { exit !found }'
}
tray_icon_docked() { tray_icon >/dev/null; }
# With E2E_SNI=1 the icon lives on the status notifier host (lumatone_sni_host_start).
E2E_SNI=0
sni() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_host.py" "$@"; }
# The host lists an item of the program's process.
sni_icon() { sni items 2>/dev/null | awk -v p="$E2E_PID" '$2 == p { found = 1 } END { exit !found }'; }
sni_menu_is() { equals "$(sni menu | paste -sd ' ')" "$1"; }
sni_host_on() { lumatone_sni_host_start && E2E_SNI=1; }
sni_host_off() {
    E2E_SNI=0
    lumatone_sni_host_stop
}
icon_present() { if [ "$E2E_SNI" = 1 ]; then sni_icon; else tray_icon_docked; fi; }
started() { window_shown && icon_present; }
started_or_ended() { started || ended; }
started_hidden_or_ended() { { window_hidden && icon_present; } || ended; }

# start_program NAME [SETTINGS [hidden]]: a fresh configuration folder with the
# given settings.ini, the program started in it; waits for its window and icon
# (with "hidden": for its icon, the window hidden in the tray).
start_program() {
    E2E_DIR="$E2E_WORK/$1"
    rm -rf "$E2E_DIR"
    mkdir -p "$E2E_DIR/config/lumatone"
    [ -z "${2:-}" ] || printf '%s\n' "$2" >"$E2E_DIR/config/lumatone/settings.ini"
    XDG_CONFIG_HOME="$E2E_DIR/config" "$E2E_BUILD/lumatone" >"$E2E_DIR/output.log" 2>&1 &
    E2E_PID=$!
    if [ "${3:-}" = hidden ]; then
        until_true 60 started_hidden_or_ended
        running && return 0
    else
        until_true 60 started_or_ended
        started && return 0
    fi
    echo "  the program did not show its window and icon; its output:" >&2
    sed 's/^/        /' "$E2E_DIR/output.log" >&2
    return 1
}

wait_exit() { until_true 30 ended; }
# The program ended by itself with status 0 (a crash on the way out fails).
clean_exit() {
    wait_exit || return 1
    local status=0
    wait "$E2E_PID" || status=$?
    [ "$status" -eq 0 ] || { echo "        exit status $status" >&2 && false; }
}

# Ends a program that a failed case left running.
stop_program() {
    if running; then
        kill "$E2E_PID" 2>/dev/null || true
        wait_exit || kill -9 "$E2E_PID" 2>/dev/null || true
    fi
    E2E_PID=""
}

tray_click() { # tray_click BUTTON [REPEAT]; the caller waits for what it does
    local x y w h
    read -r x y w h <<<"$(tray_icon)"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click --repeat "${2:-1}" --delay 120 "$1"
}
# The open pop-up menu: "x y width height" of the program's mapped window
# that bypasses the window manager.
menu_window() { program_windows | awk '$6 == 1 && $7 == 1 { print $2, $3, $4, $5; found = 1; exit }
    END { exit !found }'; }
menu_open() { menu_window >/dev/null; }
# menu_pick N COUNT: clicks the Nth of COUNT items of the open menu (from 1).
menu_pick() {
    local x y w h
    read -r x y w h <<<"$(menu_window)"
    xdotool mousemove $((x + w / 2)) $((y + h * (2 * $1 - 1) / (2 * $2))) click 1
}
# The tray menu's "&Exit", the last of its two items.
exit_through_menu() {
    tray_click 3
    until_true 20 menu_open || return 1
    menu_pick 2 2
    clean_exit
}

settings_file() { echo "$E2E_DIR/config/lumatone/settings.ini"; }
ini_value() { # ini_value SECTION KEY
    awk -F= -v s="[$1]" -v k="$2" '{ sub(/\r$/, "") } /^\[/ { in_s = ($0 == s) }
        in_s && $1 == k { print $2; exit }' "$(settings_file)"
}
# The slider position whose ramp the screen holds, and the largest difference.
ramp_position() { probe gamma-position | cut -d' ' -f1; }
ramp_above() {
    local p
    p=$(ramp_position) && [ -n "$p" ] && [ "$p" -gt "$1" ]
}

screenshot() { # screenshot NAME: the whole screen, and the main window cut out
    local w x y width height
    import -window root "$E2E_ARTIFACTS/$1-screen.png" || return 1
    w=$(main_window) || return 1
    read -r x y width height <<<"$(xwininfo -id "$w" | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')"
    convert "$E2E_ARTIFACTS/$1-screen.png" -crop "${width}x${height}+${x}+${y}" +repage \
        "$E2E_ARTIFACTS/$1.png"
}

# A desktop portal with global shortcuts (fake_portal.py), on the session bus.
portal() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/fake_portal.py" "$@"; }
_portal_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.portal.Desktop 2>/dev/null |
        grep -q 'boolean true'
}
portal_on() {
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || { echo "        no session bus" >&2 && return 1; }
    _lumatone_spawn portal /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/fake_portal.py" serve
    until_true 20 _portal_up || { tail -n 20 "$LUMATONE_ENV_DIR/portal.log" >&2 && false; }
}
portal_off() { _lumatone_kill portal fake_portal.py; }
portal_bound() { portal bound 2>/dev/null | paste -sd ' '; }

# The red pixels in the main window's row for notes, under the title buttons.
note_red() {
    screenshot "$1" || return 1
    convert "$E2E_ARTIFACTS/$1.png" -crop 440x18+0+54 +repage \
        -fx '(r > 0.6 && g < 0.35 && b < 0.35) ? 1 : 0' -format '%[fx:round(mean * w * h)]' info:
}
portal_bound_is() { [ "$(portal_bound)" = "$1" ]; }
# The main window's pixels, as one checksum.
window_look() { import -window "$(main_window)" rgb:- 2>/dev/null | md5sum; }
look_differs() { [ "$(window_look)" != "$1" ]; }
