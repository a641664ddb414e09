#!/usr/bin/env bash
# Holds the user guide to the program: every settings.ini section and key the
# guide names exists in settings/keys.h and every one there is in the guide,
# every picture it shows is in docs/images and every picture there is shown,
# and the README points users to it.
set -euo pipefail
cd "$(dirname "$0")/.."
guide=docs/user-guide.md
failed=0

# The code's sections (with capitals) and keys (lower case), from its one list.
code=$(grep -o '"[^"]*"' settings/keys.h | tr -d '"' | sort -u)
code_keys=$(grep -E '^[a-z][a-z0-9]*$' <<<"$code" || true)
code_sections=$(grep -vE '^[a-z][a-z0-9]*$' <<<"$code" || true)

# The guide's: `key`, `key=value` and `[Section]` in running text, and the lines
# of its settings.ini example.
# shellcheck disable=SC2016 # backticks of Markdown, not of the shell
quoted=$(grep -o '`[^`]*`' "$guide" | tr -d '`')
# shellcheck disable=SC2016
example=$(sed -n '/^```ini$/,/^```$/p' "$guide")
guide_keys=$({
    sed -n 's/^\([a-z][a-z0-9]*\)\(=.*\)\{0,1\}$/\1/p' <<<"$quoted"
    sed -n 's/^\([a-z][a-z0-9]*\)=.*$/\1/p' <<<"$example"
} | sort -u)
guide_sections=$({
    sed -n 's/^\[\(.*\)\]$/\1/p' <<<"$quoted"
    sed -n 's/^\[\(.*\)\]$/\1/p' <<<"$example"
} | sort -u)

# only_in MESSAGE LIST OTHER: fails naming what LIST has and OTHER has not.
only_in() {
    local only
    only=$(comm -23 <(echo "$2") <(echo "$3") | sed '/^$/d' | paste -sd' ')
    [ -z "$only" ] || { echo "  FAIL  $1: $only" && failed=1; }
}
differ() { # differ WHAT IN_GUIDE IN_CODE
    only_in "$1 in $guide but not in settings/keys.h" "$2" "$3"
    only_in "$1 in settings/keys.h but not in $guide" "$3" "$2"
}
differ keys "$guide_keys" "$code_keys"
differ sections "$guide_sections" "$code_sections"
echo "  ok    $(wc -l <<<"$guide_keys") keys and $(wc -l <<<"$guide_sections") sections checked"

shown=$(grep -o '](images/[^)]*)' "$guide" | sed 's/^](images\/\(.*\))$/\1/' | sort -u)
present=$(find docs/images -maxdepth 1 -name '*.png' -printf '%f\n' | sort)
only_in "pictures shown but missing from docs/images" "$shown" "$present"
only_in "pictures in docs/images the guide does not show" "$present" "$shown"

grep -q "$guide" README.md || { echo "  FAIL  README.md does not point to $guide" && failed=1; }

[ "$failed" -eq 0 ] && echo "== user guide: keys, pictures and README agree with the program"
exit "$failed"
