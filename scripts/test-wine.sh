#!/usr/bin/env bash
# Runs the Windows backend's tests under Wine, each group on the desktop it
# needs: the Xorg dummy display (ramps, 60/75 Hz modes, tray, sound), Xvfb
# (no ramps at all), and last with PulseAudio stopped (no mixer).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${LUMATONE_WIN64_BUILD:-build/win64}"

cmake --preset windows-x64 -B "$build" -DLUMATONE_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target lumatone_win32_tests

# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
lumatone_env_start

run_ctest() {
    # A Wine process that dies at start-up, before the test's first line, is
    # Wine's, not ours: such a test gets one more run.
    ctest --test-dir "$build" --output-on-failure --timeout 120 --repeat until-pass:2 "$@"
}

status=0
echo "== Windows backend under Wine (Xorg dummy display)"
run_ctest -L '^wine$' || status=1
echo "== Windows backend under Wine (Xvfb)"
DISPLAY="$LUMATONE_XVFB_DISPLAY" run_ctest -L '^wine-xvfb$' || status=1
echo "== Windows backend under Wine (PulseAudio stopped)"
lumatone_env_stop_pulse
run_ctest -L '^wine-nosound$' || status=1
exit $status
