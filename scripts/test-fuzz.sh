#!/usr/bin/env bash
# A short fuzzing run (about a minute in all) of each settings fuzz target on
# its seed corpus, so a regression in reading, writing or start-up shows in CI.
# Exits non-zero on any finding; the input that caused it is kept under
# build/fuzz/findings. Longer runs: build/fuzz/fuzz_<target> -max_total_time=N
# -dict=tests/fuzz/settings.dict NEW_CORPUS_DIR tests/fuzz/corpus/<target>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS_PER_TARGET:-20}
build=${FUZZ_BUILD_DIR:-build/fuzz}

echo "== fuzzing (clang-14, libFuzzer), ${seconds} s per target"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_profile_read fuzz_profile_write fuzz_startup

findings=$build/findings
mkdir -p "$findings"
status=0
for target in profile_read profile_write startup; do
    # New inputs go to a scratch folder: the committed seeds stay as they are.
    scratch=$(mktemp -d)
    log=$build/$target.log
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -dict=tests/fuzz/settings.dict \
        -artifact_prefix="$findings/$target-" "$scratch" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "   $target: ${runs:-?} runs, no finding"
    else
        echo "   $target: FINDING (log: $log)"
        grep -E "invariant broken|ERROR|SUMMARY|Test unit written" "$log" | sed 's/^/     /' || true
        status=1
    fi
    rm -rf "$scratch"
done
exit $status
