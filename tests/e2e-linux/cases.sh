# shellcheck shell=bash
# The end-to-end cases of the Linux program, run in order by scripts/test-linux-e2e.sh.

case_window_tray_and_exit() {
    echo "- start, tray icon, hide and show, exit through the menu"
    start_program window $'[Gamma]\nlastgamma=21' || { check "starts" false; return; }
    check "window shown" window_shown
    check "icon docked in the tray" until_true 20 tray_icon_docked
    # The stored position is on the screen from the start.
    until_true 20 test "$(ramp_position)" = 21
    check "stored gamma 21 on the screen ($(probe gamma-position))" equals "$(ramp_position)" 21
    screenshot form1
    tray_click 1 2
    check "a double click hides the window" until_true 20 window_hidden
    check "the icon stays" tray_icon_docked
    tray_click 1 2
    check "a second one shows it again" until_true 20 window_shown
    check "the menu's Exit ends the program" exit_through_menu
    # The file held lastgamma alone; shutdown writes every key.
    check "settings saved in XDG_CONFIG_HOME/lumatone" equals "$(ini_value Windows loadonstartup)" 0
    check "lastgamma saved" equals "$(ini_value Gamma lastgamma)" 21
    check "no settings.ini beside the program" test ! -e "$E2E_BUILD/settings.ini"
}

case_held_hotkey_moves_gamma() {
    echo "- a hotkey held while another window has the focus"
    # "Brighter" bound to Ctrl+F10, as the file stores it: Windows key codes.
    start_program hotkey $'[Gamma]\nlastgamma=10\nhotkeydark1=17\nhotkeydark2=121\nhotkeydark1name=Ctrl\nhotkeydark2name=F10' ||
        { check "starts" false; return; }
    until_true 20 test "$(ramp_position)" = 10
    xmessage -geometry +40+600 "another program" &
    local other=$! other_window
    until_true 20 xdotool search --sync --onlyvisible --class xmessage >/dev/null
    other_window=$(xdotool search --onlyvisible --class xmessage | head -1)
    xdotool windowfocus --sync "$other_window"
    check "another window has the focus" equals "$(xdotool getwindowfocus)" "$other_window"
    xdotool keydown Control_L keydown F10
    until_true 20 ramp_above 12
    xdotool keyup F10 keyup Control_L
    steady 20 ramp_position
    local position worst
    read -r position worst <<<"$(probe gamma-position)"
    check "the held keys moved the gamma up (position $position)" test "$position" -gt 12
    check "the screen's ramp is that position's (largest difference $worst)" test "$worst" -le 256
    check "and not its neighbour's" test "$(probe gamma $((position - 1)))" -gt 256
    kill "$other" 2>/dev/null
    wait "$other" 2>/dev/null
    screenshot hotkey
    check "the menu's Exit ends the program" exit_through_menu
    check "the saved lastgamma is the position on the screen" equals \
        "$(ini_value Gamma lastgamma)" "$position"
}

# A tap of the portal's shortcut: the window shows the change, then rests.
tap_moves() {
    local before
    before=$(window_look)
    portal tap "$1" && until_true 10 look_differs "$before" && steady 10 window_look
}

case_wayland_hotkeys_through_a_portal() {
    echo "- Wayland: the pairs bound as the desktop portal's global shortcuts"
    portal_on || { check "the fake portal starts" false; return; }
    # "Darker" Shift+F9, "Brighter" F10+Ctrl; there the ramp stays untouched,
    # so the window and the saved position tell where the slider went.
    XDG_SESSION_TYPE=wayland start_program portal \
        $'[Gamma]\nlastgamma=10\nhotkeylight1=16\nhotkeylight2=120\nhotkeydark1=121\nhotkeydark2=17' ||
        { check "starts" false; portal_off; return; }
    check "the pairs reached the portal with their keys as triggers" until_true 20 \
        portal_bound_is "gamma-darker=SHIFT+F9 gamma-brighter=CTRL+F10"
    equals "$(portal_bound)" "gamma-darker=SHIFT+F9 gamma-brighter=CTRL+F10"
    check "no red note under the title" equals "$(note_red portal)" 0
    # "Brighter" bound anew by typing Ctrl and F11 into its boxes (see bound_by_place).
    click_at 280 121
    xdotool key Control_R Tab F11
    check "the changed pair is bound again" until_true 20 \
        portal_bound_is "gamma-darker=SHIFT+F9 gamma-brighter=CTRL+F11"
    check "in a new session that replaced the old" equals "$(portal sessions)" 1
    local before
    before=$(window_look)
    portal press gamma-brighter
    check "a held shortcut moves the gamma" until_true 10 look_differs "$before"
    # Held, it climbs to the top and stops there.
    steady 30 window_look
    portal release gamma-brighter
    check "a tap moves it one step" tap_moves gamma-darker
    check "and another one more" tap_moves gamma-darker
    check "the menu's Exit ends the program" exit_through_menu
    check "the saved position is two below the top" equals "$(ini_value Gamma lastgamma)" 35
    portal_off

    echo "- Wayland without a portal"
    XDG_SESSION_TYPE=wayland start_program noportal $'[Gamma]\nhotkeydark1=121\nhotkeydark2=17' ||
        { check "starts" false; return; }
    check "a red note says the hotkeys need X11" test "$(note_red noportal)" -gt 50
    check "the menu's Exit ends the program" exit_through_menu
}

case_sigterm_saves() {
    echo "- SIGTERM, as at a log-off"
    start_program sigterm $'[Gamma]\nlastgamma=5' || { check "starts" false; return; }
    kill -TERM "$E2E_PID"
    check "ends cleanly on SIGTERM" clean_exit
    check "and saved its settings" equals "$(ini_value Windows loadonstartup)$(ini_value Gamma lastgamma)" 05
    # A log-off while the icon's menu is open: the program ends under its own menu.
    start_program sigterm-menu $'[Gamma]\nlastgamma=6' || { check "starts" false; return; }
    tray_click 3
    until_true 20 menu_open
    kill -TERM "$E2E_PID"
    check "ends cleanly on SIGTERM with its menu open" clean_exit
    check "and saved its settings" equals "$(ini_value Windows loadonstartup)$(ini_value Gamma lastgamma)" 06
}

case_second_start_shows_the_first() {
    echo "- started again while hidden in the tray"
    start_program single $'[Gamma]\nlastgamma=7' || { check "starts" false; return; }
    tray_click 1 2
    check "hidden in the tray" until_true 20 window_hidden
    local before start ms
    before=$(sha1sum <"$(settings_file)")
    start=$EPOCHREALTIME
    XDG_CONFIG_HOME="$E2E_DIR/config" timeout 20 "$E2E_BUILD/lumatone" >"$E2E_DIR/second.log" 2>&1
    ms=$(((${EPOCHREALTIME/./} - ${start/./}) / 1000))
    check "the second copy ends within 2 s (took ${ms} ms)" test "$ms" -lt 2000
    check "the first one's window shows" until_true 20 window_shown
    check "settings.ini untouched" equals "$(sha1sum <"$(settings_file)")" "$before"
    check "the first one still runs" running
    check "the menu's Exit ends the program" exit_through_menu
}

# Every CRTC in use holds exactly the ramp of that slider position.
ramp_is() { [ "$(probe gamma "$1")" = 0 ]; }

case_identity_from_outside_is_undone() {
    echo "- the identity ramp set from outside, near the stored position's own"
    start_program identity $'[Gamma]\nlastgamma=30' || { check "starts" false; return; }
    until_true 20 ramp_is 30
    check "position 30 on the screen" ramp_is 30
    xrandr --output DUMMY0 --gamma 1:1:1
    check "xrandr set the identity" test "$(probe gamma 30)" -gt 0
    # Timer2 checks every 1.5 s.
    check "put back within a check" until_true 3 ramp_is 30
    check "the menu's Exit ends the program" exit_through_menu
}

# Keys by their place: a binding box takes the key's place on the keyboard,
# named as a US keyboard names it, and the poll watches that place, whatever
# the layout types there.

# click_at X Y: a click at pixels X, Y of the main window.
click_at() {
    local x y
    read -r x y <<<"$(xwininfo -id "$(main_window)" | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }')"
    xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
# set_layout LAYOUT: the layout on the keycodes of a server that reads its
# keyboards through evdev or libinput.
set_layout() { setxkbmap -rules evdev -model pc105 -layout "$1"; }
# hold_keys SECONDS POSITION KEYS...: the keys held until the gamma moves past
# POSITION, for SECONDS at most, then let go; the position it came to rest on.
hold_keys() {
    local seconds=$1 above=$2 key
    shift 2
    for key in "$@"; do xdotool keydown "$key"; done
    until_true "$seconds" ramp_above "$above"
    for key in "$@"; do xdotool keyup "$key"; done
    steady 20 ramp_position
    ramp_position
}

# bound_by_place NAME LAYOUT FIRST SECOND CODES WRONG...: on LAYOUT, binds
# "Brighter" by pressing FIRST and SECOND (xdotool's names), which must store
# CODES; holding them moves the gamma, holding WRONG (keys that type the same
# characters elsewhere, or sit beside them) does not.
bound_by_place() {
    local name=$1 layout=$2 first=$3 second=$4 codes=$5
    shift 5
    echo "- \"Brighter\" bound on the $layout layout: $first, $second"
    set_layout "$layout" || { check "layout $layout" false; return; }
    start_program "$name" $'[Gamma]\nlastgamma=10' || { check "starts" false; return; }
    until_true 20 test "$(ramp_position)" = 10
    # The "Brighter" pair's boxes at 96 dpi: (120 + 3840 + 247) / 15 twips a
    # pixel across, (1080 + 600 + 142) / 15 down; the second 40 pixels right.
    click_at 280 121
    xdotool key "$first" Tab "$second"
    xmessage -geometry +40+600 "another program" &
    local other=$! position
    until_true 20 xdotool search --sync --onlyvisible --class xmessage >/dev/null
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --class xmessage | head -1)"
    position=$(hold_keys 20 12 "$first" "$second")
    check "holding $first and $second moved the gamma up (position $position)" test "$position" -gt 12
    check "holding $* does not move it" equals "$(hold_keys 2 "$position" "$@")" "$position"
    kill "$other" 2>/dev/null
    wait "$other" 2>/dev/null
    check "the menu's Exit ends the program" exit_through_menu
    check "the codes stored are the keys' places" equals \
        "$(ini_value Gamma hotkeydark1) $(ini_value Gamma hotkeydark2)" "$codes"
    set_layout us
}

case_keys_by_place_on_a_german_layout() {
    # ß and + have no key of their own on a US keyboard; before, "+" was
    # watched as "=", the German Shift+0, and ß could not be bound.
    bound_by_place german de ssharp plus "189 221" 0 ssharp
}

case_keys_by_place_on_a_french_layout() {
    # & and é sit on the US 1 and 2: VK 49 and 50 whatever they type.
    bound_by_place french fr ampersand eacute "49 50" egrave eacute
}

case_keypad_keys_without_numlock() {
    # Without NumLock the keypad's 7 and 8 type Home and Up, yet stay the
    # keypad's keys, as on Windows' own settings files.
    if xset q | grep -q 'Num Lock: *on'; then xdotool key Num_Lock; fi
    check "NumLock is off" bash -c "xset q | grep -q 'Num Lock: *off'"
    bound_by_place keypad us KP_Home KP_Up "103 104" Home Up
    check "named by their keypad names" equals \
        "$(ini_value Gamma hotkeydark1name) $(ini_value Gamma hotkeydark2name)" "Npad7 Npad8"
}

# The null sink's raw channel volumes, "left right" (65536 is 100%).
sink_volumes() { pactl get-sink-volume lumatone_null | grep -o ': [0-9]* /' | tr -dc '0-9\n' | xargs; }
sink_below() { # sink_below RAW: the left channel is lower than RAW
    local left right
    read -r left right <<<"$(sink_volumes)"
    [ -n "$left" ] && [ "$left" -lt "$1" ]
}
sink_silent() { test "$(sink_volumes)" = "0 0"; }
# The right channel is 60% of the left, as far as whole raw values allow.
balance_kept() {
    local left right
    read -r left right <<<"$(sink_volumes)"
    awk -v l="$left" -v r="$right" 'BEGIN { d = r / l - 0.6; exit !(l > 0 && d < 0.001 && d > -0.001) }' ||
        { echo "        channels $left $right" >&2 && false; }
}

case_volume_keeps_its_balance() {
    echo "- a sink louder on the left keeps its balance"
    pactl set-sink-volume lumatone_null 100% 60%
    local before
    before=$(sink_volumes)
    # "Lower" bound to Ctrl+F9.
    start_program balance $'[Volume]\nhotkeylower1=17\nhotkeylower2=120\nhotkeylower1name=Ctrl\nhotkeylower2name=F9' ||
        { check "starts" false; return; }
    # A second of polls, each able to write the level back.
    steady 20 sink_volumes
    check "at start, 100% and 60% stay ($before)" equals "$(sink_volumes)" "$before"
    xdotool keydown Control_L keydown F9
    until_true 20 sink_below 65536
    xdotool keyup F9 keyup Control_L
    steady 20 sink_volumes
    check "the hotkey lowered both channels together" balance_kept
    check "and lowered them ($(sink_volumes))" sink_below 62260
    check "the menu's Exit ends the program" exit_through_menu
    pactl set-sink-volume lumatone_null 100%
}

case_stopped_sound_server_does_not_slow_hotkeys() {
    echo "- hotkeys held while the sound server hangs"
    pactl set-sink-volume lumatone_null 100%
    start_program hung-sound $'[Gamma]\nlastgamma=1\nhotkeydark1=17\nhotkeydark2=121\nhotkeydark1name=Ctrl\nhotkeydark2name=F10\n[Volume]\nhotkeylower1=17\nhotkeylower2=121\nhotkeylower1name=Ctrl\nhotkeylower2name=F10' ||
        { check "starts" false; return; }
    until_true 20 test "$(ramp_position)" = 1
    local server
    server=$(cat "$LUMATONE_ENV_DIR/pulseaudio.pid")
    kill -STOP "$server"
    # Held 3 s: 60 polls, more than the 36 steps up to the top.
    xdotool keydown Control_L keydown F10
    sleep 3
    xdotool keyup F10 keyup Control_L
    local position
    position=$(ramp_position)
    kill -CONT "$server"
    check "the gamma went all the way up (position $position)" equals "$position" 37
    check "the volume steps reach the server once it runs again" until_true 20 sink_silent
    check "the menu's Exit ends the program" exit_through_menu
    pactl set-sink-volume lumatone_null 100%
}

case_sni_menu_and_click() {
    echo "- a status notifier host (KDE, XFCE, GNOME's AppIndicator): menu and a plain click"
    sni_host_on || { check "the host starts" false; return; }
    if start_program sni $'[Gamma]\nlastgamma=9'; then
        check "the host has the icon" sni_icon
        check "and the XEmbed tray has none" test -z "$(tray_icon)"
        check "its menu offers Hide and Exit" sni_menu_is "_Hide _Exit"
        sni activate
        check "a plain click hides the window" until_true 20 window_hidden
        check "the menu then offers Show and Exit" until_true 20 sni_menu_is "_Show _Exit"
        sni activate
        check "a second one shows it" until_true 20 window_shown
        sni click _Hide
        check "the menu's Hide hides it" until_true 20 window_hidden
        lumatone_sni_host_stop
        check "the host gone, the window comes back" until_true 20 window_shown
        lumatone_sni_host_start
        check "a new host gets the icon again" until_true 20 sni_icon
        sni click _Exit
        check "the menu's Exit ends the program" clean_exit
        check "and saved its settings" equals "$(ini_value Gamma lastgamma)" 9
    else
        check "starts" false
    fi
    # "Minimize on startup": the window goes once the host has the icon.
    if start_program sni-minimized $'[Windows]\nminimizeonstartup=1' hidden; then
        check "minimized on startup: hidden, the icon on the host" sni_icon
        sni activate
        check "a plain click shows it" until_true 20 window_shown
        sni click _Exit
        check "the menu's Exit ends the program" clean_exit
    else
        check "starts minimized" false
    fi
    sni_host_off
}

case_x_server_gone_saves() {
    echo "- the X server goes away (the window manager's exit, startx ending, a crash)"
    start_program xgone $'[Gamma]\nlastgamma=5\nhotkeydark1=17\nhotkeydark2=121\nhotkeydark1name=Ctrl\nhotkeydark2name=F10' ||
        { check "starts" false; return; }
    until_true 20 test "$(ramp_position)" = 5
    xmessage -geometry +40+600 "another program" >/dev/null 2>&1 &
    until_true 20 xdotool search --sync --onlyvisible --class xmessage >/dev/null
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --class xmessage | head -1)"
    xdotool keydown Control_L keydown F10
    until_true 20 ramp_above 8
    xdotool keyup F10 keyup Control_L
    steady 20 ramp_position
    local position
    position=$(ramp_position)
    check "a hotkey moved the gamma from 5 to $position" test "$position" -gt 8
    _lumatone_kill xorg Xorg
    check "the program ends with its display" wait_exit
    check "the new lastgamma is in the file" equals "$(ini_value Gamma lastgamma)" "$position"
    # The next cases' desktop.
    lumatone_env_start 2>/dev/null
}

case_sighup_saves() {
    echo "- SIGHUP, as when the terminal or the session goes away"
    start_program sighup $'[Gamma]\nlastgamma=4' || { check "starts" false; return; }
    kill -HUP "$E2E_PID"
    check "ends cleanly on SIGHUP" clean_exit
    check "and saved its settings" equals "$(ini_value Windows loadonstartup)$(ini_value Gamma lastgamma)" 04
}

case_session_checkpoint_and_end() {
    echo "- a session manager: \"save session\" keeps the program running, the session's end ends it"
    local fifo="$E2E_WORK/session-manager.in" log="$E2E_WORK/session-manager.log" manager
    rm -f "$fifo" "$log"
    mkfifo "$fifo"
    "$E2E_BUILD/lumatone_session_manager" <"$fifo" >"$log" 2>&1 &
    manager=$!
    exec 7>"$fifo"
    until_true 20 grep -q '^SESSION_MANAGER=' "$log"
    SESSION_MANAGER=$(sed -n 's/^SESSION_MANAGER=//p' "$log")
    export SESSION_MANAGER
    if start_program session $'[Gamma]\nlastgamma=7'; then
        unset SESSION_MANAGER
        check "the program joins the session" until_true 20 grep -q '^registered' "$log"
        echo checkpoint >&7
        check "a checkpoint is answered" until_true 20 grep -q '^saved 1' "$log"
        check "and saved the settings (every key written)" \
            until_true 20 equals "$(ini_value Windows loadonstartup)$(ini_value Gamma lastgamma)" 07
        check "the program runs on, its window shown" window_shown
        check "the session is not to restart it" equals "$(sed -n 's/^restart-hint //p' "$log" | sort -u)" 3
        echo end >&7
        check "the session's end ends it, its window up" clean_exit
        check "and it saved its settings" equals "$(ini_value Gamma lastgamma)" 7
    else
        unset SESSION_MANAGER
        check "starts" false
    fi
    exec 7>&-
    wait "$manager" 2>/dev/null
}

case_xembed_tray_goes_away() {
    echo "- the XEmbed tray goes away while the window is hidden in it, and comes back"
    start_program trayloss $'[Gamma]\nlastgamma=3' || { check "starts" false; return; }
    tray_click 1 2
    check "hidden in the tray" until_true 20 window_hidden
    lumatone_tray_stop
    check "the tray gone, the window comes back" until_true 20 window_shown
    lumatone_tray_start
    check "a new tray docks the icon" until_true 20 tray_icon_docked
    tray_click 1 2
    check "and a double click hides the window again" until_true 20 window_hidden
    tray_click 3
    until_true 20 menu_open
    menu_pick 2 2
    check "the menu's Exit ends the program" clean_exit
}
