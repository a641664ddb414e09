#!/usr/bin/env bash
# Runs shellcheck over every shell script of the tree: the *.sh files and the
# files whose first line starts bash or sh. Sourced files name their shell in
# a directive; "source=" paths are given from the repository root.
set -euo pipefail
cd "$(dirname "$0")/.."
files=()
while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    case "$file" in
    *.sh) files+=("$file") ;;
    *) if head -n 1 "$file" | grep -qE '^#!.*[/ ](ba)?sh$'; then files+=("$file"); fi ;;
    esac
done < <(git ls-files -z --cached --others --exclude-standard)
echo "shellcheck: ${#files[@]} scripts"
shellcheck --external-sources "${files[@]}"
