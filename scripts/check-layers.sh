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
exit $status
