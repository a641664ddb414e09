#!/usr/bin/env bash
# Footprint of the Linux program on the Xorg dummy display, with all 18 hotkey
# slots bound: the stripped executable's size, private memory after start
# (Private_* of /proc/PID/smaps_rollup) and CPU time over a run with the window
# hidden and with it shown, each against a bare Qt program with one 50 ms
# timer (tests/e2e-linux/bare.cpp), hidden and shown alike. The X server's and
# the sound server's CPU is counted too: they answer the program's questions.
# Three rounds, each program in turn, so that a busy machine weighs on both;
# the ratios are the median of the three rounds'. CPU time is the scheduler's
# own count in nanoseconds (/proc/PID/task/*/schedstat): the clock-tick count
# of /proc/PID/stat charges whole 10 ms ticks, coarser than these programs' use.
#   tests/e2e-linux/measure.sh [SECONDS]     (each run; default 60; prints a table)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${1:-60}
build=${LUMATONE_E2E_LINUX_BUILD:-$root/build/linux}
cmake --preset linux -B "$build" >/dev/null
cmake --build "$build" -j2 --target lumatone lumatone_bare_qt lumatone_linux_probe >/dev/null

export LUMATONE_ENV_DIR="${LUMATONE_E2E_LINUX_ENV_DIR:-$root/build/e2e-linux/env}"
export LUMATONE_ENV_WINE=0
# shellcheck source=scripts/env.sh
source scripts/env.sh
trap lumatone_env_stop EXIT
trap "exit 130" INT TERM
lumatone_env_start
work=$root/build/e2e-linux/measure
mkdir -p "$work/config/lumatone"

# The CPU nanoseconds of all a process's threads (none ends while it idles).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%d", ns }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f", ns / 1e6 }'; }
private_kib() { awk '/^Private_/ { kib += $2 } END { print kib + 0 }' "/proc/$1/smaps_rollup"; }
stripped_size() {
    local copy="$work/stripped"
    strip -o "$copy" "$1" && stat -c %s "$copy"
}

bound=""
for section in Gamma "Digital Vibrance" Volume; do
    bound+="[$section]"$'\n'
    for key in hotkeylight1 hotkeylight2 hotkeydark1 hotkeydark2 hotkeyreset hotkeyreset2 \
        hotkeylower1 hotkeylower2 hotkeyhigher1 hotkeyhigher2 hotkeyreset1; do
        bound+="$key=$((112 + ${#bound} % 12))"$'\n'
    done
done

# measure NAME COMMAND...: private memory after start, CPU over the run; the
# CPU milliseconds are also left in $cpu_ms.
cpu_ms=0
measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$! server sound
    server=$(cat "$LUMATONE_ENV_DIR/xorg.pid")
    sound=$(cat "$LUMATONE_ENV_DIR/pulseaudio.pid")
    sleep 3
    local u0 u1 s0 s1 a0 a1 private
    u0=$(cpu_ns "$pid")
    s0=$(cpu_ns "$server")
    a0=$(cpu_ns "$sound")
    sleep "$seconds"
    u1=$(cpu_ns "$pid")
    s1=$(cpu_ns "$server")
    a1=$(cpu_ns "$sound")
    private=$(private_kib "$pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    cpu_ms=$(ms $((u1 - u0 + s1 - s0 + a1 - a0)))
    printf '%-34s %8s KiB private   CPU %6s ms (process %5s + X server %5s + sound server %5s)\n' \
        "$name" "$private" "$cpu_ms" "$(ms $((u1 - u0)))" "$(ms $((s1 - s0)))" "$(ms $((a1 - a0)))"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
median() { printf '%s\n' "$@" | sort -g | sed -n "$(($# / 2 + 1))p"; }

echo "lumatone $(stripped_size "$build/lumatone") bytes stripped; bare Qt program $(stripped_size "$build/lumatone_bare_qt") bytes stripped; over $seconds s:"
export XDG_CONFIG_HOME="$work/config"
hidden=()
shown=()
for round in 1 2 3; do
    echo "round $round:"
    printf '[Windows]\nminimizeonstartup=1\n%s' "$bound" >"$work/config/lumatone/settings.ini"
    measure "lumatone, hidden, 18 keys bound" "$build/lumatone"
    program=$cpu_ms
    measure "bare Qt, hidden, one 50 ms timer" "$build/lumatone_bare_qt"
    hidden+=("$(ratio "$program" "$cpu_ms")")
    printf '[Windows]\nminimizeonstartup=0\n%s' "$bound" >"$work/config/lumatone/settings.ini"
    measure "lumatone, shown, 18 keys bound" "$build/lumatone"
    program=$cpu_ms
    measure "bare Qt, shown, one 50 ms timer" "$build/lumatone_bare_qt" show
    shown+=("$(ratio "$program" "$cpu_ms")")
done
echo "CPU against the bare Qt program, hidden: $(median "${hidden[@]}") times (rounds: ${hidden[*]})"
echo "CPU against the bare Qt program, shown:  $(median "${shown[@]}") times (rounds: ${shown[*]})"
