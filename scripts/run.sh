#!/usr/bin/env bash
# Builds lumatone.exe and starts it: directly on Windows, elsewhere under Wine
# on the user's display. settings.ini is kept beside the executable.
set -euo pipefail
cd "$(dirname "$0")/.."
case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) ;;
*) scripts/install.sh ;;
esac
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j"$(nproc)" --target lumatone
exe=$(pwd)/build/win64/lumatone.exe

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) exec "$exe" ;;
esac

if [ -z "${DISPLAY:-}" ]; then
    echo "Built $exe, but there is no display to show it on: DISPLAY is not set." >&2
    echo "Run this from a desktop session (or with DISPLAY pointing at an X server)," >&2
    echo "or copy the executable to a Windows machine." >&2
    exit 1
fi
if ! xdpyinfo >/dev/null 2>&1; then
    echo "Built $exe, but the display $DISPLAY cannot be opened." >&2
    exit 1
fi
echo "Starting Lumatone under Wine on $DISPLAY; it lives in the notification area."
WINEDEBUG="${WINEDEBUG:--all}" exec wine "$exe"
