#!/usr/bin/env bash
# Fails when a folder includes one of a layer above it, or a sibling.
set -euo pipefail
cd "$(dirname "$0")/.."
# folder: the folders it may include (besides itself)
declare -A allowed=(
    [app]="hotkeys display audio settings model platform base"
    [hotkeys]="display audio settings model platform base"
    [display]="model platform base"
    [audio]="model platform base"
    [settings]="model platform base"
    [model]="base"
    [platform]="base"
    [base]=""
)
status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file _ target; do
        top=${target%%/*}
        [ "$top" = "$folder" ] && continue
        case " ${allowed[$folder]} " in *" $top "*) continue ;; esac
        echo "layers: $file includes $target"
        status=1
    done < <(git grep -n -o -E '#include "[^"]+"' -- "$folder" | sed -E 's/#include "([^"]+)"/\1/')
done
# The X11 and PulseAudio headers belong to the Linux backend and its tests
# alone, and to the probe that reads the screen back in the program's
# end-to-end tests.
while IFS= read -r hit; do
    echo "layers: $hit: only platform/linux/, tests/linux/ and tests/e2e-linux/ include X11 or PulseAudio headers"
    status=1
done < <(git grep -n -E '#include <(X11|pulse)/' -- ':!platform/linux/' ':!tests/linux/' ':!tests/e2e-linux/' || true)
# Qt belongs to the Linux program and the helpers of its end-to-end tests.
while IFS= read -r hit; do
    echo "layers: $hit: only qtapp/ and tests/e2e-linux/ include Qt headers"
    status=1
done < <(git grep -n -E '#include <Q[A-Za-z]+>' -- ':!qtapp/' ':!tests/e2e-linux/' || true)
exit $status
