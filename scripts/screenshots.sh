#!/usr/bin/env bash
# Makes the user guide's pictures from the real programs, run on the project's
# virtual desktop with a few hotkeys bound, as small PNGs in docs/images:
#   windows  lumatone.exe under Wine: the main window as Windows XP and
#            Windows 7 show it, the exit dialog, the tray menu
#   linux    the Linux program's main window
# With no argument it makes both; "scripts/screenshots.sh linux" makes the
# Linux picture alone, without Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
images=${LUMATONE_IMAGES:-$root/docs/images}
mkdir -p "$images"

[ $# -gt 0 ] || set -- windows linux
windows=0 linux=0
for set in "$@"; do
    case $set in
    windows) windows=1 ;;
    linux) linux=1 ;;
    *)
        echo "usage: $0 [windows] [linux]" >&2
        exit 2
        ;;
    esac
done

if [ "$windows" = 1 ]; then
    cmake --preset windows-x64 >/dev/null
    cmake --build --preset windows-x64 -j"${LUMATONE_JOBS:-2}" --target lumatone lumatone_probe
fi
if [ "$linux" = 1 ]; then
    cmake --preset linux >/dev/null
    cmake --build --preset linux -j"${LUMATONE_JOBS:-2}" --target lumatone
fi

# A desktop and Wine prefix of its own, so tests may run at the same time.
export LUMATONE_ENV_DIR="$root/build/screenshots/env"
export WINEPREFIX="$root/build/screenshots/wineprefix"
export LUMATONE_ENV_WINE=$windows
# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
trap "exit 130" INT TERM
lumatone_env_start
# The classic Windows desktop colour behind the menu and the dialog, as on Windows 2000.
xsetroot -solid '#3a6ea5'

# The three groups' hotkeys bound to Ctrl, Alt and Shift with F9, F10 and F11,
# as a user might set them.
settings=$(
    cat <<'EOF'
[Gamma]
lastgamma=27
hotkeylight1=17
hotkeylight1name=Ctrl
hotkeylight2=120
hotkeylight2name=F9
hotkeydark1=17
hotkeydark1name=Ctrl
hotkeydark2=121
hotkeydark2name=F10
hotkeyreset=17
hotkeyresetname=Ctrl
hotkeyreset2=122
hotkeyresetname2=F11
[Digital Vibrance]
hotkeylower1=18
hotkeylower1name=Alt
hotkeylower2=120
hotkeylower2name=F9
hotkeyhigher1=18
hotkeyhigher1name=Alt
hotkeyhigher2=121
hotkeyhigher2name=F10
hotkeyreset=18
hotkeyresetname=Alt
hotkeyreset2=122
hotkeyresetname2=F11
[Volume]
hotkeylower1=16
hotkeylower1name=Shift
hotkeylower2=120
hotkeylower2name=F9
hotkeyhigher1=16
hotkeyhigher1name=Shift
hotkeyhigher2=121
hotkeyhigher2name=F10
hotkeyreset1=16
hotkeyreset1name=Shift
hotkeyreset2=122
hotkeyreset2name=F11
EOF
)

# save NAME X Y WIDTH HEIGHT: that part of the screen, in few colours.
save() {
    import -window root "$E2E_WORK/screen.png"
    convert "$E2E_WORK/screen.png" -crop "${4}x${5}+${2}+${3}" +repage +dither -colors 32 \
        -strip "PNG8:$images/$1.png"
    echo "  $images/$1.png: $4 x $5 pixels, $(stat -c %s "$images/$1.png") bytes"
}
save_window() {
    local x y w h
    read -r _ _ x y w h <<<"$(probe window)"
    save "$1" "$x" "$y" "$w" "$h"
}

windows_pictures() {
    export E2E_BUILD="$root/build/win64" E2E_WORK="$root/build/screenshots/run"
    export E2E_ARTIFACTS="$E2E_WORK/raw"
    # shellcheck source=tests/e2e/lib.sh
    source tests/e2e/lib.sh

    for version in winxp win7; do
        set_windows_version "$version"
        start_program "main-$version" "$settings" || exit 1
        sleep 2 # the volume and monitor read-outs fill in
        save_window "main-window-$version"
        stop_program
    done

    set_windows_version winxp
    start_program dialog "$settings" || exit 1
    click_control "$(control Button "" "x")"
    dialog_up() { probe controls form2 | grep -q '^Button|.*|Quit$'; }
    main_hidden() { [ "$(probe window | cut -d' ' -f1)" = 0 ]; }
    until_true 10 dialog_up
    until_true 10 main_hidden
    sleep 0.5
    # The dialog has no frame: it is what stands out from the desktop below the
    # tray, with a margin of desktop around it.
    import -window root "$E2E_WORK/screen.png"
    convert "$E2E_WORK/screen.png" -crop +0+40 +repage -bordercolor '#3a6ea5' -border 1 -trim +repage \
        -border 6 +dither -colors 32 -strip PNG8:"$images/exit-dialog.png"
    echo "  $images/exit-dialog.png: $(identify -format '%w x %h' "$images/exit-dialog.png") pixels"
    stop_program

    start_program tray "$settings" || exit 1
    tray_click 3
    until_true 20 menu_open
    read -r mx my mw mh <<<"$(probe menu)"
    read -r tx ty tw th <<<"$(tray_icon)"
    # The tray icon and the menu beside it, with a margin.
    left=$((mx < tx ? mx : tx))
    left=$((left > 48 ? left - 48 : 0))
    right=$((mx + mw > tx + tw ? mx + mw : tx + tw))
    bottom=$((my + mh > ty + th ? my + mh : ty + th))
    save tray-menu "$left" 0 $((right - left + 16)) $((bottom + 16))
    xdotool key Escape
    stop_program
}

# The Linux program has no vibrance group without NVIDIA's control, and a
# volume group only while a sound server answers (the desktop's null sink).
linux_pictures() {
    export E2E_BUILD="$root/build/linux" E2E_WORK="$root/build/screenshots/run-linux"
    export E2E_ARTIFACTS="$E2E_WORK/raw"
    # shellcheck source=tests/e2e-linux/lib.sh
    source tests/e2e-linux/lib.sh

    start_program main-linux "$settings" || exit 1
    sleep 2 # the volume and monitor read-outs fill in
    screenshot main-linux
    # Its text is smoothed: more colours than the Windows pictures need.
    convert "$E2E_ARTIFACTS/main-linux.png" +dither -colors 64 -strip \
        "PNG8:$images/main-window-linux.png"
    echo "  $images/main-window-linux.png:" \
        "$(identify -format '%w x %h' "$images/main-window-linux.png") pixels," \
        "$(stat -c %s "$images/main-window-linux.png") bytes"
    stop_program
}

if [ "$windows" = 1 ]; then
    windows_pictures
fi
if [ "$linux" = 1 ]; then
    linux_pictures
fi
