#!/usr/bin/env bash
# Installs everything Lumatone needs to build, run and test on a fresh Debian
# machine. Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
    build-essential cmake git
    libgtest-dev googletest libgmock-dev libbenchmark-dev
    clang-format clang-14 libclang-rt-14-dev shellcheck
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    # Wine is 64-bit only: wine32 cannot run on this kernel and breaks wine64 too.
    # Recommends stay off (wine64 recommends wine32), so what Wine loads at run
    # time is named here: the wine launcher, X extensions for display modes
    # (RandR) and gamma ramps (XF86VidMode), and fonts for the controls' text.
    wine64 wine fonts-wine fonts-liberation
    libxrandr2 libxxf86vm1 libxrender1 libxi6 libxcursor1 libxinerama1 libxcomposite1
    libxfixes3 libgl1 libgl1-mesa-dri libdbus-1-3 libgnutls30 xcvt
    xvfb xserver-xorg-core xserver-xorg-video-dummy x11-utils x11-xserver-utils xdotool
    trayer imagemagick unzip
    pulseaudio pulseaudio-utils
    # The Linux program: X11 and RandR for the screen, XInput 2 for keys, the
    # screen saver extension for the lock, libpulse for the volume, Qt 6 for
    # the windows and the tray, libdbus for the desktop portal's global
    # shortcuts; lintian checks its Debian package and desktop-file-validate
    # its menu entry.
    libx11-dev libxrandr-dev libxi-dev libxss-dev libpulse-dev libdbus-1-dev pkg-config
    # A Wayland compositor's gamma control: the client library and the
    # generator of its protocol code; sway and weston run headless in its tests.
    libwayland-dev libwayland-bin sway weston
    qt6-base-dev qt6-qpa-plugins libgl-dev fontconfig
    # Its tests' desktop: a session bus and a status notifier host in Python,
    # and a session manager of its own (libSM).
    dbus-daemon dbus-bin python3-dbus python3-gi libsm-dev libice-dev
    lintian dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The private Wine prefix the Windows tests run in (created once).
# shellcheck source=scripts/env.sh
source "$(dirname "$0")/env.sh"
lumatone_make_prefix
