#!/usr/bin/env bash
# Builds the two release ZIPs, lumatone-<version>-win64.zip and -win32.zip, in
# build/package, and checks that each holds exactly the program for its
# architecture (with the version of the build), the user guide with every
# picture, and the license. Prints each ZIP's listing. Then builds the Debian
# package of the Linux program there, checks what it holds and runs lintian
# over it: any lintian error fails.
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

# Tags that cannot apply to a package built here, each with its reason.
lintian_suppressed=(
    # a local build closes no bug in Debian's tracker
    initial-upload-closes-no-bugs
)

cmake --preset linux >/dev/null
cmake --build --preset linux -j"${LUMATONE_JOBS:-2}" --target lumatone lumatone_deb_files
rm -f "$out"/lumatone_*.deb
(cd "$root/build/linux" && cpack -G DEB -B "$out" >/dev/null)
deb=$(find "$out" -maxdepth 1 -name 'lumatone_*.deb' | head -n 1)
if [ -z "$deb" ]; then
    fail "cpack made no Debian package"
else
    echo "== ${deb##*/}"
    dpkg-deb -f "$deb"
    dpkg-deb -c "$deb"
    held=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort)
    expected_deb=$(
        {
            printf '%s\n' /usr/bin/lumatone /usr/share/applications/lumatone.desktop \
                /usr/share/doc/lumatone/copyright /usr/share/doc/lumatone/changelog.Debian.gz \
                /usr/share/man/man1/lumatone.1.gz
            for size in 16 32 48 64; do
                echo "/usr/share/icons/hicolor/${size}x${size}/apps/lumatone.png"
            done
        } | sort
    )
    if [ "$held" != "$expected_deb" ]; then
        fail "${deb##*/} holds other files than expected:"
        diff <(echo "$expected_deb") <(echo "$held") | sed -n 's/^[<>]/        &/p' || true
    fi
    dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 ||
        fail "${deb##*/} does not depend on the Qt 6 widgets it links"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate qtapp/resources/lumatone.desktop || fail "lumatone.desktop is not valid"
    fi
    # Its note that it runs as root is about this machine, not the package.
    suppressed=$(
        IFS=,
        echo "${lintian_suppressed[*]}"
    )
    lintian --fail-on error --suppress-tags "$suppressed" "$deb" 2> >(grep -v 'root privileges' >&2) ||
        fail "lintian found errors in ${deb##*/}"
fi

if [ "$failed" -ne 0 ]; then
    echo "== release packages: FAILED"
    exit 1
fi
echo "== release packages: both ZIPs and the Debian package in $out hold what they should"
