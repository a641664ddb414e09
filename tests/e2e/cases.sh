# shellcheck shell=bash
# The end-to-end cases, run in order by scripts/test-e2e.sh.

case_layout_per_windows_version() {
    local version height vibrance
    for version in winxp:489:1 vista:386:0 win7:282:0; do
        IFS=: read -r version height vibrance <<<"$version"
        echo "- Windows version $version"
        set_windows_version "$version"
        start_program "layout-$version" || { check "$version: starts" false; continue; }
        local visible w h
        read -r visible _ _ _ w h <<<"$(probe window)"
        check "$version: window shown, $w x $h pixels" equals "$visible $w $h" "1 441 $height"
        check "$version: vibrance group shown = $vibrance" equals \
            "$(probe controls | awk -F'|' '$1 == "LumatoneFrame" && $10 ~ /^Digital vibrance/ { print $3 }')" \
            "$vibrance"
        check "$version: captions readable" equals \
            "$(control Button "Gamma" "Lock Hkeys" | field 10)$(control Button "" "x" | field 10)" \
            "Lock Hkeysx"
        screenshot "form1-$version"
        # Alt+F4 closes and saves like any quit.
        focus_window
        xdotool key alt+F4
        check "$version: Alt+F4 ends the program" wait_exit
        check "$version: Alt+F4 saved all 43 keys" equals "$(saved_keys)" 43
        stop_program
    done
    set_windows_version winxp
}

case_stored_gamma_applied_at_start() {
    echo "- stored lastgamma 27"
    start_program gamma $'[Gamma]\nlastgamma=27' || { check "starts" false; return; }
    check "gamma slider at 27" equals "$(nth_control ScrollBar Gamma 1 | field 9)" 27
    # The display's ramp, read back through Wine, is the ramp of position 27
    # (X keeps 16-bit entries; a difference of one step of 8 bits is rounding).
    local worst
    worst=$(probe gamma 27)
    check "screen ramp is position 27's (largest difference $worst)" test "${worst:-99999}" -le 256
    # ... and the comparison tells neighbours apart.
    worst=$(probe gamma 26)
    check "and not position 26's (largest difference $worst)" test "${worst:-0}" -gt 256
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}

# box_names N TEXT: the Nth binding box of "Gamma" shows TEXT.
box_names() { [ "$(nth_control Edit Gamma "$1" | field 10)" = "$2" ]; }
gamma_position() { nth_control ScrollBar Gamma 1 | field 9; }
gamma_above() {
    local p
    p=$(gamma_position) && [ -n "$p" ] && [ "$p" -gt "$1" ]
}

case_captured_hotkey_moves_gamma() {
    echo "- a captured hotkey"
    start_program hotkey || { check "starts" false; return; }
    # "Brighter" is the second pair; bind B in both of its boxes.
    click_control "$(nth_control Edit Gamma 3)"
    until_true 20 focus_is "Edit|"
    xdotool key b
    until_true 20 box_names 3 B
    xdotool key Tab
    until_true 20 focus_is "Edit|" # the fourth box, still empty
    xdotool key b
    until_true 20 box_names 4 B
    check "both boxes name the key" equals \
        "$(nth_control Edit Gamma 3 | field 10)$(nth_control Edit Gamma 4 | field 10)" "BB"
    xdotool key Tab
    until_true 20 focus_is "Button|Reset"
    check "focus left the binding boxes for Reset" equals "$(probe focus)" "Button|Reset"
    local before after
    before=$(gamma_position)
    xdotool keydown b
    until_true 20 gamma_above "$before"
    xdotool keyup b
    steady 20 gamma_position
    after=$(gamma_position)
    check "holding B moved the gamma slider up ($before -> $after)" test "$after" -gt "$before"
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
    check "binding and position saved" equals \
        "$(ini_value Gamma hotkeydark1) $(ini_value Gamma hotkeydark2name) $(ini_value Gamma lastgamma)" \
        "66 B $after"
}

case_remembered_quit_on_x() {
    echo "- x with a remembered quit"
    start_program quit $'[Exit Settings]\nsaveanswer=1\nminimizeonexit=0' ||
        { check "starts" false; return; }
    check "tray icon present" equals "$(probe tray-exists)" 1
    click_control "$(control Button "" "x")"
    check "x ends the program" wait_exit
    check "all 43 keys saved" equals "$(saved_keys)" 43
    check "tray icon removed" icon_deleted
    check "tray is empty" no_tray_icon
    stop_program
}

case_tray_double_click_and_exit() {
    echo "- tray icon: double-click, menu, Exit"
    start_program tray || { check "starts" false; return; }
    tray_click 1 2
    until_true 20 window_is "0 1"
    check "double-click hides the window (minimised, hidden)" equals \
        "$(probe window | cut -d' ' -f1-2)" "0 1"
    tray_click 1 2
    until_true 20 window_is "1 0"
    check "double-click shows it again" equals "$(probe window | cut -d' ' -f1-2)" "1 0"
    tray_click 3
    until_true 20 menu_open
    local x y w h
    read -r x y w h <<<"$(probe menu)"
    check "right button opens the menu" test -n "$h"
    # "&Hide" above "&Exit": the lower half is "&Exit".
    [ -z "$h" ] || click_at $((x + w / 2)) $((y + h * 3 / 4))
    check "&Exit ends the program" wait_exit
    check "&Exit saved all 43 keys" equals "$(saved_keys)" 43
    check "&Exit removed the icon" icon_deleted
    stop_program
}

case_icon_back_after_shell_restart() {
    echo "- TaskbarCreated"
    start_program shell || { check "starts" false; return; }
    tray_click 1 2 # hidden: the icon is the only way back
    until_true 20 window_is "0 1"
    check "icon deleted behind the program's back" equals "$(probe tray-delete)" 1
    check "icon gone" equals "$(probe tray-exists)" 0
    probe taskbar-created
    until_true 20 icon_present
    check "icon back after TaskbarCreated" equals "$(probe tray-exists)" 1
    tray_click 1 2
    until_true 20 window_is 1
    check "and it still shows the window" equals "$(probe window | cut -d' ' -f1)" 1
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}

case_session_end_saves() {
    echo "- end of the session while hidden in the tray"
    start_program session $'[Windows]\nminimizeonstartup=1\n[Gamma]\nlastgamma=30' ||
        { check "starts" false; return; }
    check "started hidden" equals "$(probe window | cut -d' ' -f1)" 0
    wine wineboot --end-session >/dev/null 2>&1
    check "the session's end ends the program" wait_exit
    check "saved all 43 keys" equals "$(saved_keys)" 43
    check "kept the settings" equals "$(ini_value Windows minimizeonstartup) $(ini_value Gamma lastgamma)" "1 30"
    stop_program
}

window_at() { [ "$(window_position)" = "$1 $2" ]; }

case_dragging() {
    echo "- dragging by groups and background, not by controls"
    start_program drag || { check "starts" false; return; }
    local x y gx gy
    read -r _ _ x y _ <<<"$(probe window)"
    local gamma
    gamma=$(control LumatoneFrame "" Gamma)
    # Inside "Gamma", left of its "Hotkeys:" heading, where no control lies.
    gx=$(($(field 5 <<<"$gamma") + 6))
    gy=$(($(field 6 <<<"$gamma") + 30))
    xdotool mousemove "$gx" "$gy" mousedown 1 mousemove $((gx + 20)) $((gy + 10))
    until_true 20 window_at $((x + 20)) $((y + 10))
    xdotool mousemove $((gx + 40)) $((gy + 20))
    until_true 20 window_at $((x + 40)) $((y + 20))
    xdotool mouseup 1
    steady 20 window_position
    check "a drag on Gamma moves the window by the pointer's travel" equals \
        "$(probe window | cut -d' ' -f3-4)" "$((x + 40)) $((y + 20))"
    read -r _ _ x y _ <<<"$(probe window)"
    local label
    for label in "Static|Lumatone - V7|By Tressalunde" "LumatoneFrame||Volume" \
        "Static|Gamma|Hotkeys:"; do
        local line
        IFS='|' read -r cls group text <<<"$label"
        line=$(control "$cls" "$group" "$text")
        local cx=$(($(field 5 <<<"$line") + 3)) cy=$(($(field 6 <<<"$line") + 8))
        # Nothing is to happen, so each step waits until the window has stayed put.
        xdotool mousemove "$cx" "$cy" mousedown 1 mousemove $((cx + 30)) $((cy + 15))
        steady 20 window_position
        xdotool mouseup 1
        steady 20 window_position
        check "a press on \"$text\" drags nothing" equals "$(probe window | cut -d' ' -f3-4)" "$x $y"
    done
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}

dialog_shown() { probe controls form2 | grep -q '^Button|.*|Quit$'; }

case_exit_dialog() {
    echo "- x without a remembered answer"
    start_program dialog || { check "starts" false; return; }
    click_control "$(control Button "" "x")"
    until_true 10 dialog_shown
    check "main window goes to the tray" equals "$(probe window | cut -d' ' -f1)" 0
    local line
    line=$(probe controls form2 | awk -F'|' '$10 == "Quit"')
    check "the dialog asks" equals "$(probe controls form2 | awk -F'|' '$1 == "Static" { print $10 }')" \
        "Minimize to tray or Quit?"
    click_control "$line"
    check "Quit ends the program" wait_exit
    check "answer written, settings saved" equals \
        "$(ini_value "Exit Settings" minimizeonexit)$(ini_value "Exit Settings" saveanswer) $(saved_keys)" \
        "00 43"
    stop_program
}

# ---- Hardening: what the user cannot see or reach, and settings another program holds.

volume_section() { # the stored volume bindings and lock, one line
    awk '{ sub(/\r$/, "") } /^\[/ { v = ($0 == "[Volume]") } v && /=/' "$E2E_DIR/settings.ini" |
        sort | paste -sd' '
}

first_gamma_box_is() { [ "$(nth_control Edit Gamma 1 | field 10)" = "$1" ]; }

case_tab_never_reaches_the_cut_off_volume_group() {
    echo "- Windows 7: Tab and a letter through the whole window"
    set_windows_version win7
    local bound=$'[Volume]\nhotkeylower1=97\nhotkeylower2=98\nhotkeylower1name=Npad1\nhotkeylower2name=Npad2'
    bound+=$'\nhotkeyhigher1=99\nhotkeyhigher2=100\nhotkeyhigher1name=Npad3\nhotkeyhigher2name=Npad4'
    bound+=$'\nhotkeyreset1=101\nhotkeyreset2=102\nhotkeyreset1name=Npad5\nhotkeyreset2name=Npad6\nlockkeys=0'
    start_program tab-win7 "$bound" || { check "starts" false; set_windows_version winxp; return; }
    local before
    before=$(volume_section)
    focus_window
    local keys=() _
    for _ in $(seq 60); do keys+=(Tab q); done
    xdotool key --delay 40 "${keys[@]}"
    until_true 20 first_gamma_box_is Q
    # Quit through "x" and "Quit": Alt+F4 on a binding box would bind F4.
    click_control "$(control Button "" "x")"
    until_true 10 dialog_shown
    click_control "$(probe controls form2 | awk -F'|' '$10 == "Quit"')"
    check "the program ends" wait_exit
    stop_program
    check "the letters landed in the window (a gamma box took Q)" equals \
        "$(ini_value Gamma hotkeylight1name)" Q
    check "every volume binding and its lock unchanged" equals "$(volume_section)" "$before"
    set_windows_version winxp
}

case_press_on_a_locked_binding_box_drags_nothing() {
    echo "- \"Gamma\" locked: a press on its binding box"
    start_program drag-locked $'[Gamma]\nlockkeys=1' || { check "starts" false; return; }
    local box
    box=$(nth_control Edit Gamma 1)
    check "the box is disabled" equals "$(field 4 <<<"$box")" 0
    local x y
    read -r _ _ x y _ <<<"$(probe window)"
    local bx=$(($(field 5 <<<"$box") + $(field 7 <<<"$box") / 2))
    local by=$(($(field 6 <<<"$box") + $(field 8 <<<"$box") / 2))
    # Nothing is to happen, so each step waits until the window has stayed put.
    xdotool mousemove "$bx" "$by" mousedown 1 mousemove $((bx + 30)) $((by + 15))
    steady 20 window_position
    xdotool mousemove $((bx + 60)) $((by + 30))
    steady 20 window_position
    xdotool mouseup 1
    steady 20 window_position
    check "the window stays where it was" equals "$(probe window | cut -d' ' -f3-4)" "$x $y"
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}

run_value() {
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumatone 2>/dev/null |
        tr -d '\r' | awk '$1 == "Lumatone" { print $NF }'
}

# Another program holds settings.ini open, sharing it with nobody, while
# Lumatone starts, and lets go before Lumatone quits.
hold_settings() {
    rm -f "$E2E_WORK/release" "$E2E_WORK/hold.out"
    wine "$E2E_BUILD/lumatone_probe.exe" hold "$(winepath -w "$E2E_DIR/settings.ini" 2>/dev/null)" \
        "$(winepath -w "$E2E_WORK/release" 2>/dev/null)" >"$E2E_WORK/hold.out" 2>/dev/null &
    E2E_HOLDER=$!
    until_true 20 grep -qs held "$E2E_WORK/hold.out"
    check "another program holds settings.ini" grep -qs held "$E2E_WORK/hold.out"
}

case_settings_held_by_another_program_are_left_alone() {
    echo "- settings.ini held open by another program at start-up"
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumatone \
        /d 'C:\Lumatone\lumatone.exe' /f >/dev/null 2>&1
    local settings=$'[Windows]\nloadonstartup=1\nminimizeonstartup=0\n[Gamma]\nlastgamma=30'
    settings+=$'\nhotkeylight1=112\nhotkeylight1name=F1\nlockkeys=1\n[Mine]\nnote=keep me'
    E2E_BEFORE_START=hold_settings start_program held "$settings" ||
        { check "starts" false; touch "$E2E_WORK/release"; return; }
    cp "$E2E_DIR/settings.ini" "$E2E_WORK/held-before.ini"
    check "the window says the settings could not be read" equals \
        "$(control Static "" "Settings could not be read and will not be saved" | field 3)" 1
    screenshot held-settings
    touch "$E2E_WORK/release"
    wait "$E2E_HOLDER"
    # Changes that would otherwise be saved, then quit through "x" and "Quit".
    click_control "$(nth_control ScrollBar Gamma 1)"
    click_control "$(control Button "" "x")"
    until_true 10 dialog_shown
    click_control "$(probe controls form2 | awk -F'|' '$10 == "Quit"')"
    check "Quit ends the program" wait_exit
    stop_program
    check "settings.ini byte for byte as it was" cmp -s "$E2E_DIR/settings.ini" \
        "$E2E_WORK/held-before.ini"
    check "the Run value untouched" equals "$(run_value)" 'C:\Lumatone\lumatone.exe'
    wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Lumatone /f \
        >/dev/null 2>&1
}

# ---- gamma kept on screen ---------------------------------------------------

# The note of the "Gamma" group, empty when it says nothing.
gamma_note() { probe controls | awk -F'|' '$1 == "Static" && $2 == "Gamma" &&
    ($10 ~ /^The screen refused/ || $10 ~ /^Another program/) { print $10; exit }'; }
no_gamma_note() { [ -z "$(gamma_note)" ]; }
gamma_within() { # gamma_within POSITION: the screen holds that position's ramp
    local worst
    worst=$(probe gamma "$1")
    [ -n "$worst" ] && [ "$worst" -le 256 ]
}
quit_program() {
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}

case_gamma_refusal_told() {
    echo "- a gamma level the screen refuses"
    # Wine refuses the ramps of positions 0 and 37 as too far from linear.
    start_program gamma-refused $'[Gamma]\nlastgamma=37' || { check "starts" false; return; }
    check "slider and read-out stay at 37" equals \
        "$(nth_control ScrollBar Gamma 1 | field 9) $(control Static Gamma 37 | field 10)" "37 37"
    check "the Gamma group says the screen refused" equals "$(gamma_note)" \
        "The screen refused this gamma level"
    screenshot gamma-refused
    click_control "$(control Button Gamma Reset)"
    check "Reset to 27 clears the note" until_true 10 no_gamma_note
    check "and the screen has 27" gamma_within 27
    quit_program
    check "the position the user set is saved" equals "$(ini_value Gamma lastgamma)" 27
}

case_gamma_back_after_outside_reset() {
    echo "- gamma reset from outside (xgamma)"
    probe set-gamma 27
    xgamma -gamma 1.0 >/dev/null 2>&1
    check "xgamma resets the ramp Wine reads" test "$(probe gamma 27)" -gt 256
    start_program gamma-xgamma $'[Gamma]\nlastgamma=27' || { check "starts" false; return; }
    local start probe_ms elapsed allowed
    start=$(date +%s%N)
    check "the screen has 27" gamma_within 27
    # One reading takes the probe a while under Wine; a busy machine, longer.
    probe_ms=$((($(date +%s%N) - start) / 1000000))
    start=$(date +%s%N)
    xgamma -gamma 1.0 >/dev/null 2>&1
    until_true 10 gamma_within 27
    elapsed=$((($(date +%s%N) - start) / 1000000))
    # Two Timer2 ticks, and the last reading that saw it back.
    allowed=$((3000 + 2 * probe_ms))
    check "back on screen after $elapsed ms (two Timer2 ticks and a reading: $allowed ms)" \
        test "$elapsed" -le "$allowed"
    check "no note" no_gamma_note
    quit_program
}

case_gamma_back_after_system_events() {
    echo "- gamma after a rate change, a resume and an unlock"
    start_program gamma-events $'[Gamma]\nlastgamma=27' || { check "starts" false; return; }
    # The probe resets the screen to linear, hands the program the event and
    # reads the screen as soon as the program has handled it.
    local event worst
    worst=$(probe kept-after none 27)
    check "without an event the reset stays (difference $worst)" test "${worst:-0}" -gt 256
    for event in rate:75 rate:60 resume resume-suspend unlock console-connect remote-connect; do
        worst=$(probe kept-after "$event" 27)
        check "$event brings it back (difference $worst)" test "${worst:-99999}" -le 256
    done
    quit_program
}

# second_start FOLDER: starts the copy in FOLDER and waits for it to end;
# prints how long it ran, in milliseconds.
second_start() {
    local start=$EPOCHREALTIME
    WINEDEBUG=+systray timeout 20 wine "$1/lumatone.exe" >"$1/second.log" 2>&1
    echo $(((${EPOCHREALTIME/./} - ${start/./}) / 1000))
}

no_icon_added() { ! grep -q 'Shell_NotifyIconW dwMessage = 0' "$1"; }

case_second_start_shows_the_first() {
    echo "- started again, in its own folder and in another"
    start_program single $'[Windows]\nminimizeonstartup=1\n[Gamma]\nlastgamma=30' ||
        { check "starts" false; return; }
    check "started hidden in the tray" equals "$(probe window | cut -d' ' -f1)" 0
    local before ms other="$E2E_WORK/single-other"
    before=$(sha1sum <"$E2E_DIR/settings.ini")
    ms=$(second_start "$E2E_DIR")
    check "the second copy ends within 2 s (took ${ms} ms)" test "$ms" -lt 2000
    check "the first one's window shows" until_true 20 window_is "1 0"
    check "settings.ini untouched" equals "$(sha1sum <"$E2E_DIR/settings.ini")" "$before"
    check "the second copy added no icon" no_icon_added "$E2E_DIR/second.log"
    check "the first one still runs" running
    tray_click 1 2
    until_true 20 window_is "0 1"
    rm -rf "$other" && mkdir -p "$other" && cp "$E2E_BUILD/lumatone.exe" "$other/"
    ms=$(second_start "$other")
    check "a copy in another folder ends too (took ${ms} ms)" test "$ms" -lt 2000
    check "and shows the first one's window" until_true 20 window_is "1 0"
    check "without a settings.ini of its own" test ! -e "$other/settings.ini"
    focus_window
    xdotool key alt+F4
    wait_exit
    stop_program
}
