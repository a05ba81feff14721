#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a temporary prefix and checks it as a desktop would see it: the
# layout, the desktop entry and metainfo, the installed program running from a program folder
# it cannot write (the high-score file must then appear in the player's data folder), and the
# Debian package built from the same install.
#
#   tst_install.sh <build dir> <application id> <version>
#
# Exits 77 (skipped) after the other checks when there is no X display to run the program on.
set -euo pipefail

build=$1
app_id=$2
version=$3

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

W=$(mktemp -d /tmp/brightsum-install.XXXXXX)
program_pid=""
cleanup() {
    chmod -R u+w "$W" 2>/dev/null || true
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    rm -rf "$W"
}
trap cleanup EXIT
# The unprivileged player must be able to reach the installed files.
chmod 755 "$W"

png_size() {  # prints "<width>x<height>" from a PNG header
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    echo "${w}x${h}"
}

# --- the install into a temporary prefix ------------------------------------------------------
prefix=$W/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$W/install.log" 2>&1; then
    cat "$W/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

program_dir=$prefix/lib/brightsum
[ -x "$program_dir/brightsum" ] && [ -f "$program_dir/brightsum" ] \
    && pass "executable in lib/brightsum" || fail "no executable $program_dir/brightsum"
for file in select.wav good.wav bad.wav timeup.wav finish.wav hiscore.wav showhi.wav readme.htm; do
    [ -s "$program_dir/$file" ] || fail "$file is missing from the program folder"
done
pass "wave files and help page checked"
[ ! -e "$program_dir/hiscore.dat" ] || fail "a high-score file was installed"

launcher=$prefix/bin/brightsum
if [ -L "$launcher" ] && [ "$(readlink "$launcher")" = "../lib/brightsum/brightsum" ] \
    && [ "$(readlink -f "$launcher")" = "$(readlink -f "$program_dir/brightsum")" ]; then
    pass "bin/brightsum is a relative link into the program folder"
else
    fail "bin/brightsum is not the link ../lib/brightsum/brightsum ($(ls -l "$launcher" 2>&1))"
fi

icons=$prefix/share/icons/hicolor
for size in 16 32 48 64 128; do
    icon=$icons/${size}x${size}/apps/$app_id.png
    if [ ! -f "$icon" ]; then
        fail "no ${size}x${size} icon"
    elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
        fail "the ${size}x${size} icon measures $(png_size "$icon")"
    fi
done
grep -q '<svg' "$icons/scalable/apps/$app_id.svg" 2>/dev/null || fail "no scalable icon"
pass "icons checked"

# --- the desktop entry and the metainfo -------------------------------------------------------
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if desktop-file-validate "$desktop" >"$W/desktop.log" 2>&1 && ! grep -q 'error:' "$W/desktop.log"; then
    pass "desktop-file-validate"
else
    cat "$W/desktop.log" >&2
    fail "desktop-file-validate"
fi
if appstreamcli validate --no-net --pedantic "$metainfo" >"$W/metainfo.log" 2>&1; then
    pass "appstreamcli validate"
else
    cat "$W/metainfo.log" >&2
    fail "appstreamcli validate"
fi
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ "$exec_name" = "brightsum" ] && [ -x "$prefix/bin/$exec_name" ] \
    || fail "the desktop entry starts '$exec_name', which is not the installed launcher"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$app_id" ] || fail "the desktop entry's icon is not $app_id"
grep -q "Categories=Game;Education;KidsGame;" "$desktop" || fail "desktop entry categories"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo lacks release $version"

# --- the Debian package -----------------------------------------------------------------------
if cpack --config "$build/CPackConfig.cmake" -G DEB -B "$W/deb" >"$W/cpack.log" 2>&1; then
    deb=$(ls "$W"/deb/*.deb)
    dpkg-deb -c "$deb" >"$W/deb-contents"
    for path in ./usr/lib/brightsum/brightsum ./usr/lib/brightsum/readme.htm \
        ./usr/lib/brightsum/select.wav ./usr/lib/brightsum/showhi.wav \
        "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
        "./usr/share/icons/hicolor/48x48/apps/$app_id.png" \
        "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"; do
        grep -q " $path\$" "$W/deb-contents" || fail "the package lacks $path"
    done
    grep -q ' ./usr/bin/brightsum -> ../lib/brightsum/brightsum$' "$W/deb-contents" \
        || fail "the package lacks the launcher link"
    grep -E ' ./usr/lib/brightsum/brightsum$' "$W/deb-contents" | grep -q '^-rwxr-xr-x root/root' \
        || fail "the packaged executable is not rwxr-xr-x root/root"
    if grep -E -v ' \./usr/| \./$' "$W/deb-contents" | grep -q .; then
        fail "the package installs outside /usr: $(grep -E -v ' \./usr/| \./$' "$W/deb-contents")"
    fi
    [ "$(dpkg-deb -f "$deb" Package)" = "brightsum" ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
    depends=$(dpkg-deb -f "$deb" Depends)
    for dependency in libqt6widgets6 libcanberra0 libcanberra-pulse sound-theme-freedesktop \
        fonts-liberation2 qt6-qpa-plugins qt6-wayland; do
        echo "$depends" | grep -q "\\b$dependency\\b" || fail "the package does not depend on $dependency"
    done
    pass "Debian package $(basename "$deb") checked"
else
    cat "$W/cpack.log" >&2
    fail "cpack -G DEB"
fi

# --- the installed program, from a program folder it cannot write -----------------------------
if [ -z "${DISPLAY:-}" ]; then
    echo "note: no X display, the installed program was not started"
    [ $failures -eq 0 ] && exit 77
    exit 1
fi

# A table of our own in the program folder: the player's copy must start from it, which shows
# that the program found its folder through the bin/ link.
printf '" 4321","Seedling"," 2"\r\n' >"$program_dir/hiscore.dat"
for i in 2 3 4 5 6 7 8 9 10; do
    printf '" %d","Player %d"," 1"\r\n' $((1000 - 100 * i)) "$i" >>"$program_dir/hiscore.dat"
done
chmod 644 "$program_dir/hiscore.dat"
cp "$program_dir/hiscore.dat" "$W/seed.dat"

home=$W/home
mkdir -m 700 "$home" "$home/run"
run=(env -i "DISPLAY=$DISPLAY" "HOME=$home" "XDG_DATA_HOME=$home/data"
     "XDG_RUNTIME_DIR=$home/run" "PATH=/usr/bin:/bin" "QT_QPA_PLATFORM=xcb")
if [ "$(id -u)" -eq 0 ]; then
    # Root ignores permission bits: play as an unprivileged user instead.
    chown -R 65534:65534 "$home"
    run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}")
else
    chmod -R a-w "$program_dir"
fi
"${run[@]}" "$launcher" >"$W/program.log" 2>&1 &
program_pid=$!

if timeout 20 xdotool search --sync --onlyvisible --pid "$program_pid" --name '^Brightsum$' \
    >/dev/null 2>&1; then
    pass "the installed program shows its window"
else
    fail "no Brightsum window appeared"
fi

data_file=$home/data/brightsum/hiscore.dat
for _ in $(seq 100); do
    [ -s "$data_file" ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
done
if [ -s "$data_file" ]; then
    pass "hiscore.dat was written to the player's data folder"
    grep -q '"Seedling"' "$data_file" \
        || fail "the player's table did not start from the program folder's copy"
else
    fail "no hiscore.dat in $home/data/brightsum"
fi
cmp -s "$program_dir/hiscore.dat" "$W/seed.dat" || fail "the program folder's table was changed"
if ! kill -0 "$program_pid" 2>/dev/null; then
    fail "the program ended by itself"
fi
if [ $failures -ne 0 ]; then
    echo "--- program output" >&2
    cat "$W/program.log" >&2
fi

[ $failures -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all install checks passed"
