#!/usr/bin/env bash
# Builds the two release ZIPs, lumatone-<version>-win64.zip and -win32.zip, in
# build/package, and checks that each holds exactly the program for its
# architecture (with the version of the build), the user guide with every
# picture, and the license. Prints each ZIP's listing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$root/build/package
mkdir -p "$out"

failed=0
fail() {
    echo "  FAIL  $*"
    failed=1
}

# What each ZIP must hold, below its top folder.
expected=$(
    {
        printf '%s\n' lumatone.exe LICENSE.txt user-guide.md
        for image in docs/images/*.png; do
            if [ -e "$image" ]; then echo "images/${image##*/}"; fi
        done
    } | sort
)

for arch in win64:windows-x64:x86-64 win32:windows-x86:i386; do
    IFS=: read -r system preset format <<<"$arch"
    build=$root/build/${system}
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"${LUMATONE_JOBS:-2}" --target lumatone
    version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
    name=lumatone-$version-$system
    rm -f "$out/$name.zip"
    (cd "$build" && cpack -G ZIP -B "$out" >/dev/null)

    echo "== $name.zip"
    if [ ! -f "$out/$name.zip" ]; then
        fail "cpack made no $name.zip"
        continue
    fi
    unzip -l "$out/$name.zip"
    held=$(unzip -Z1 "$out/$name.zip" | grep -v '/$' | sed "s|^$name/||" | sort)
    if [ "$held" != "$expected" ]; then
        fail "$name.zip holds other files than expected:"
        diff <(echo "$expected") <(echo "$held") | sed -n 's/^[<>]/        &/p' || true
    fi

    # The program inside is the one for this architecture and this version.
    tmp=$(mktemp -d)
    unzip -q "$out/$name.zip" "$name/lumatone.exe" -d "$tmp"
    x86_64-w64-mingw32-objdump -f "$tmp/$name/lumatone.exe" | grep -q "file format pei-$format" ||
        fail "$name/lumatone.exe is not a $format program"
    strings -el "$tmp/$name/lumatone.exe" | grep -qx "$version.0" ||
        fail "$name/lumatone.exe does not carry the version $version.0"
    rm -rf "$tmp"
done

if [ "$failed" -ne 0 ]; then
    echo "== release packages: FAILED"
    exit 1
fi
echo "== release packages: both ZIPs in $out hold what they should"
