#!/usr/bin/env bash
# Side-by-side measurements under the same Wine, with Wine set to winxp (all
# three timers run) and all 18 hotkey slots bound: the executable's size,
# private bytes after start and CPU time over a minute with the window hidden
# and with it shown, each against the minimal Win32 program with one 50 ms
# timer (tests/e2e/minimal.cpp), hidden and shown alike. Each pair runs three
# times, alternating, and the ratio printed is the median of the three.
#   tests/e2e/measure.sh [SECONDS]     (default 60 per run; prints a table)
# LUMATONE_MEASURE_EXE measures another lumatone.exe, an earlier build's say.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-60}
build=${LUMATONE_E2E_BUILD:-$root/build/win64}
cmake --preset windows-x64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target lumatone lumatone_probe lumatone_minimal >/dev/null

export LUMATONE_ENV_DIR="${LUMATONE_E2E_ENV_DIR:-$root/build/e2e/env}"
export WINEPREFIX="${LUMATONE_E2E_PREFIX:-$root/build/e2e/wineprefix}"
source scripts/env.sh
trap lumatone_env_stop EXIT
trap "exit 130" INT TERM
lumatone_env_start
export E2E_BUILD="$build" E2E_WORK="$root/build/e2e/measure"
source tests/e2e/lib.sh
set_windows_version "${LUMATONE_MEASURE_VERSION:-winxp}"

# CPU seconds of a Unix process (user + system), and of the Wine server,
# which answers every key-state query on the program's behalf.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# The server of this prefix (others may run their own): it was started with it.
wineserver_pid() {
    local p
    for p in $(pgrep -u "$(id -u)" wineserver); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            echo "$p" && return 0
    done
    return 1
}

bound=""
for section in Gamma "Digital Vibrance" Volume; do
    bound+="[$section]"$'\n'
    for key in hotkeylight1 hotkeylight2 hotkeydark1 hotkeydark2 hotkeyreset hotkeyreset2 \
        hotkeylower1 hotkeylower2 hotkeyhigher1 hotkeyhigher2 hotkeyreset1; do
        bound+="$key=$((112 + ${#bound} % 12))"$'\n'
    done
done

# measure NAME CLASS COMMAND...: private bytes after start, CPU over the run;
# the CPU milliseconds are also left in $cpu_ms.
cpu_ms=0
measure() {
    local name=$1 class=$2
    shift 2
    "$@" >/dev/null 2>&1 &
    local pid=$!
    until_true 20 probe process "$class" >/dev/null || true
    sleep 3
    local private ws s0 s1 tick
    read -r _ private ws _ <<<"$(probe process "$class")"
    tick=$(getconf CLK_TCK)
    local server
    server=$(wineserver_pid)
    s0=$(cpu_ticks "$server")
    local u0 u1
    u0=$(cpu_ticks "$pid")
    sleep "$seconds"
    u1=$(cpu_ticks "$pid")
    s1=$(cpu_ticks "$server")
    read -r _ private ws _ <<<"$(probe process "$class")"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    cpu_ms=$(((u1 - u0 + s1 - s0) * 1000 / tick))
    printf '%-34s %10s KiB private %8s KiB working set   CPU %6s ms (process %5s ms + server %5s ms)\n' \
        "$name" $((private / 1024)) $((ws / 1024)) "$cpu_ms" \
        $(((u1 - u0) * 1000 / tick)) $(((s1 - s0) * 1000 / tick))
}

# ratio A B: A / B to two places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

# median A B C, numerically.
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

exe=${LUMATONE_MEASURE_EXE:-$build/lumatone.exe}
echo "lumatone.exe $(stat -c %s "$exe") bytes; minimal $(stat -c %s "$build/lumatone_minimal.exe") bytes; over $seconds s:"
mkdir -p "$E2E_WORK/app"
cp "$exe" "$E2E_WORK/app/lumatone.exe"
hidden_ratios=() shown_ratios=()
for round in 1 2 3; do
    echo "-- round $round"
    printf '[Windows]\nminimizeonstartup=1\n%s' "$bound" >"$E2E_WORK/app/settings.ini"
    measure "lumatone, hidden, 18 keys bound" LumatoneForm1 wine "$E2E_WORK/app/lumatone.exe"
    hidden=$cpu_ms
    measure "minimal, hidden, one 50 ms timer" LumatoneMinimal wine "$build/lumatone_minimal.exe" timer
    hidden_ratios+=("$(ratio "$hidden" "$cpu_ms")")
    # Shown, the window stays on screen for the whole run.
    printf '[Windows]\nminimizeonstartup=0\n%s' "$bound" >"$E2E_WORK/app/settings.ini"
    measure "lumatone, shown, 18 keys bound" LumatoneForm1 wine "$E2E_WORK/app/lumatone.exe"
    shown=$cpu_ms
    measure "minimal, shown, one 50 ms timer" LumatoneMinimal wine "$build/lumatone_minimal.exe" timer show
    shown_ratios+=("$(ratio "$shown" "$cpu_ms")")
done
measure "minimal, hidden, no timer" LumatoneMinimal wine "$build/lumatone_minimal.exe"
echo "CPU against the minimal program with one 50 ms timer, median of three:"
echo "  hidden $(median "${hidden_ratios[@]}") times (${hidden_ratios[*]})"
echo "  shown  $(median "${shown_ratios[@]}") times (${shown_ratios[*]})"
