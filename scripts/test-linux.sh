#!/usr/bin/env bash
# Runs the Linux backend's tests, built with the sanitizers: the native suite,
# then on the Xorg dummy display (ramps per output, 60/70/75 Hz modes, a tray
# host, a PulseAudio null sink), and last with PulseAudio stopped (no mixer).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/debug

cmake --preset debug >/dev/null
cmake --build --preset debug -j"$(nproc)" --target lumatone_linux_tests

export LUMATONE_ENV_WINE=0
# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
lumatone_env_start

run_ctest() {
    ctest --test-dir "$build" --output-on-failure --timeout 120 "$@"
}

status=0
echo "== Linux backend (no desktop needed)"
run_ctest -L '^linux$' || status=1
echo "== Linux backend (Xorg dummy display, tray, null sink)"
# One at a time: the tests change the one display's modes and outputs.
run_ctest -L '^linux-desktop$' || status=1
echo "== Linux backend (PulseAudio stopped)"
lumatone_env_stop_pulse
run_ctest -L '^linux-nosound$' || status=1
exit $status
