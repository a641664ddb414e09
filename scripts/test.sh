#!/usr/bin/env bash
# Builds and runs every test: the shell scripts' lint and the layer check, the
# native suite under AddressSanitizer and UndefinedBehaviorSanitizer, the Linux
# backend on a virtual desktop, the benchmarks' build, the Windows builds, the
# user guide's check, the release ZIPs and the Debian package, the Windows
# backend and the program under Wine, the Linux program end to end, and a short
# fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# A suite that is missing or cannot run fails the run instead of passing unseen.
suite() {
    local script=$1
    if [ ! -f "$script" ] || [ ! -x "$script" ]; then
        echo "FAIL: the suite $script is missing or not executable" >&2
        return 1
    fi
    "$script"
}

scripts/install.sh

echo "== shell scripts (shellcheck) and layers"
suite scripts/check-shell.sh
suite scripts/check-layers.sh

echo "== native tests (debug, sanitizers)"
cmake --preset debug >/dev/null
cmake --build --preset debug -j"$jobs"
ctest --preset debug -j"$jobs"

echo "== Linux backend on the Xorg dummy display, a tray host and a null sink"
suite scripts/test-linux.sh

# Built beside the Linux program, whose release build of the core they share;
# the release preset builds the same for measuring.
echo "== benchmarks (build only; bench/README.md says how to measure)"
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$jobs" --target lumatone_bench lumatone_linux_bench

echo "== Windows builds"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j"$jobs"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"

# What users get: the guide agrees with the program, both release ZIPs and
# the Debian package, checked by lintian.
suite scripts/check-guide.sh
suite scripts/package.sh

# The Windows backend's tests under Wine, then the program end to end.
suite scripts/test-wine.sh
suite scripts/test-e2e.sh
# The Linux program end to end on the Xorg dummy display.
suite scripts/test-linux-e2e.sh

# A short fuzzing run, so a regression in the settings reader shows in CI.
suite scripts/test-fuzz.sh
