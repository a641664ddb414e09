#!/usr/bin/env bash
# Builds and runs every test: the native suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the benchmarks' build, and the Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install.sh

echo "== native tests (debug, sanitizers)"
cmake --preset debug >/dev/null
cmake --build --preset debug -j"$jobs"
ctest --preset debug -j"$jobs"

echo "== benchmarks (build only; bench/README.md says how to measure)"
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"

echo "== Windows builds"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j"$jobs"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j"$jobs"

# What users get: the guide agrees with the program, and both release ZIPs.
scripts/check-guide.sh
scripts/package.sh

# The Windows backend's tests under Wine, then the program end to end.
[ ! -x scripts/test-wine.sh ] || scripts/test-wine.sh
[ ! -x scripts/test-e2e.sh ] || scripts/test-e2e.sh

# A short fuzzing run, so a regression in the settings reader shows in CI.
[ ! -x scripts/test-fuzz.sh ] || scripts/test-fuzz.sh
