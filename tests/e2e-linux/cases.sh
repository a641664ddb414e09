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
