# shellcheck shell=bash
# Sourced by both programs' end-to-end libraries: the tally of checks and the
# ways a step waits for what it expects to see, never for a fixed time.

E2E_PASSED=0
E2E_FAILED=0
E2E_PID=""
mkdir -p "$E2E_WORK" "$E2E_ARTIFACTS"

check() { # check NAME COMMAND...: one assertion
    local name=$1
    shift
    if "$@"; then
        E2E_PASSED=$((E2E_PASSED + 1))
        echo "  ok    $name"
    else
        E2E_FAILED=$((E2E_FAILED + 1))
        echo "  FAIL  $name"
    fi
}
equals() { [ "$1" = "$2" ] || { echo "        expected '$2', got '$1'" >&2 && false; }; }

# until_true SECONDS COMMAND...: polls until the command succeeds.
until_true() { lumatone_wait "$@"; }

# steady SECONDS COMMAND...: waits until the command's output reads the same
# three times in a row, 0.2 s apart, for what has to come to rest (or must
# not change at all); false when SECONDS pass first.
steady() {
    local deadline=$((SECONDS + $1)) last now same=0
    shift
    last=$("$@")
    while [ "$same" -lt 2 ] && [ "$SECONDS" -lt "$deadline" ]; do
        sleep 0.2
        now=$("$@")
        if [ "$now" = "$last" ]; then
            same=$((same + 1))
        else
            same=0
            last=$now
        fi
    done
    [ "$same" -ge 2 ]
}

running() { [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; }
ended() { ! running; }
