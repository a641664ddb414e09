#!/usr/bin/env bash
# lumatone.exe end to end: builds it, checks what it imports, then runs it under
# Wine on a virtual display as a user would (tests/e2e/cases.sh). Screenshots of
# the main window land in build/e2e/artifacts. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=${LUMATONE_E2E_BUILD:-$root/build/win64}
cmake --preset windows-x64 -B "$build" >/dev/null
cmake --build "$build" -j"${LUMATONE_JOBS:-2}" --target lumatone lumatone_probe lumatone_minimal

failed=0
echo "== lumatone.exe"
size=$(stat -c %s "$build/lumatone.exe")
echo "  size $size bytes"
if [ "$size" -ge $((1024 * 1024)) ]; then
    echo "  FAIL  larger than 1 MiB"
    failed=1
fi
# Only DLLs that every Windows from XP x64 on ships.
allowed=" kernel32.dll user32.dll gdi32.dll shell32.dll advapi32.dll comctl32.dll winmm.dll msvcrt.dll ole32.dll oleaut32.dll wtsapi32.dll "
imports=$(x86_64-w64-mingw32-objdump -p "$build/lumatone.exe" | awk '/DLL Name:/ { print tolower($3) }')
for dll in $imports; do
    case "$allowed" in
    *" $dll "*) echo "  ok    imports $dll" ;;
    *) echo "  FAIL  imports $dll, which Windows XP x64 does not have" && failed=1 ;;
    esac
done

# A desktop of its own (folders apart from the backend tests'), so both can run at once.
export LUMATONE_ENV_DIR="${LUMATONE_E2E_ENV_DIR:-$root/build/e2e/env}"
export WINEPREFIX="${LUMATONE_E2E_PREFIX:-$root/build/e2e/wineprefix}"
# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
trap "exit 130" INT TERM
lumatone_env_start

export E2E_BUILD="$build" E2E_WORK="$root/build/e2e/run" E2E_ARTIFACTS="$root/build/e2e/artifacts"
# shellcheck source=tests/e2e/lib.sh
source tests/e2e/lib.sh
# shellcheck source=tests/e2e/cases.sh
source tests/e2e/cases.sh
set +e
set_windows_version winxp
for case in ${LUMATONE_E2E_CASES:-$(declare -F | awk '$3 ~ /^case_/ { print $3 }')}; do
    "$case"
    stop_program
done
echo "== end to end: $E2E_PASSED passed, $E2E_FAILED failed; screenshots in $E2E_ARTIFACTS"
[ "$E2E_FAILED" -eq 0 ] && [ "$failed" -eq 0 ]
