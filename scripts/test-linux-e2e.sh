#!/usr/bin/env bash
# The Linux program end to end: builds it (preset linux), then runs it on the
# Xorg dummy display with a tray host and a PulseAudio null sink as a user
# would (tests/e2e-linux/cases.sh). Screenshots land in build/e2e-linux/artifacts.
# Exits non-zero on any failure.
#   LUMATONE_E2E_CASES="case_a case_b" scripts/test-linux-e2e.sh   runs chosen cases
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=${LUMATONE_E2E_LINUX_BUILD:-$root/build/linux}
cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j"${LUMATONE_JOBS:-2}" --target lumatone lumatone_linux_probe lumatone_session_manager

# A desktop of its own, without Wine, apart from the other suites' folders.
export LUMATONE_ENV_DIR="${LUMATONE_E2E_LINUX_ENV_DIR:-$root/build/e2e-linux/env}"
export LUMATONE_ENV_WINE=0
# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
trap "exit 130" INT TERM
lumatone_env_start

export E2E_BUILD="$build" E2E_WORK="$root/build/e2e-linux/run"
export E2E_ARTIFACTS="$root/build/e2e-linux/artifacts"
# shellcheck source=tests/e2e-linux/lib.sh
source tests/e2e-linux/lib.sh
# shellcheck source=tests/e2e-linux/cases.sh
source tests/e2e-linux/cases.sh
set +e
for case in ${LUMATONE_E2E_CASES:-$(declare -F | awk '$3 ~ /^case_/ { print $3 }')}; do
    "$case"
    stop_program
done
echo "== Linux end to end: $E2E_PASSED passed, $E2E_FAILED failed; screenshots in $E2E_ARTIFACTS"
[ "$E2E_FAILED" -eq 0 ]
