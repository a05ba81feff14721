#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Qt kit that the Windows build links against: Debian's own qt6-base source,
# cross-compiled with Debian's mingw-w64 (posix threads), only the modules the game and its
# tests use. The kit lives outside the tree, in ~/.cache/brightsum (or $BRIGHTSUM_CACHE), so
# that only the first run pays the 20 minutes. Prints the kit's folder on its last line.
#
# A kit is built into a staging folder and renamed into place only when its install has
# finished, so a build that was stopped half-way is never taken for a kit.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/deps.sh windows >&2

cache=${BRIGHTSUM_CACHE:-$HOME/.cache/brightsum}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)   # the host tools must match it
upstream=${version%%+*}
upstream=${upstream%%~*}
upstream=${upstream%%-*}
# Whatever changes the kit's contents names a new kit.
recipe=$(cat "$0" cmake/windows/mingw-w64-x86_64.cmake | sha256sum | cut -c1-12)
kit="$cache/qt-$upstream-mingw-w64-x86_64-$recipe"

if [ -f "$kit/.complete" ]; then
    echo "$kit"
    exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/.kit.lock"
flock 9   # two builds at once would share the staging folder
if [ -f "$kit/.complete" ]; then
    echo "$kit"
    exit 0
fi

# Debian's source of the installed Qt, from the same archive as its binaries.
src="$cache/src/qt6-base-$version"
if [ ! -f "$src/.unpacked" ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    sources=/etc/apt/sources.list.d/debian.sources
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
        ! grep -qs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
        echo "Adding the source entries of $sources" >&2
        sed 's/^Types: deb$/Types: deb-src/' "$sources" |
            $sudo tee /etc/apt/sources.list.d/brightsum-deb-src.sources >/dev/null
        $sudo apt-get update -q -o DPkg::Lock::Timeout=900 >&2
    fi
    rm -rf "$cache/src"
    mkdir -p "$cache/src"
    (cd "$cache/src" && apt-get source -q "qt6-base=$version" >&2)
    unpacked=$(find "$cache/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
    [ "$unpacked" = "$src" ] || mv "$unpacked" "$src"
    touch "$src/.unpacked"
fi

staging="$kit.staging"
rm -rf "$staging" "$cache/build"
mkdir -p "$cache/build"
started=$SECONDS
(
    cd "$cache/build"
    # OpenGL stays on: without it the 6.4 Windows platform plugin does not compile. Debian's
    # source has no iaccessible2 and no wintab, hence no tablet events.
    "$src/configure" -release -xplatform win32-g++ -prefix "$kit" -qt-host-path /usr \
        -nomake tests -nomake examples -no-feature-sql -no-feature-network -no-feature-dbus \
        -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-feature-vulkan \
        -no-feature-tabletevent -- \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows/mingw-w64-x86_64.cmake" \
        -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
    cmake --build . --parallel "$(nproc)"
    # Installed under a staging root: the kit names its own folder in its files, so it is
    # built for its final place and moved there whole.
    DESTDIR="$staging" cmake --install .
) >"$cache/kit-build.log" 2>&1 || {
    tail -n 40 "$cache/kit-build.log" >&2
    echo "The Qt kit for Windows did not build; the whole log: $cache/kit-build.log" >&2
    exit 1
}
echo "Qt kit for Windows built in $((SECONDS - started)) s" >&2
touch "$staging$kit/.complete"
rm -rf "$kit"
mv "$staging$kit" "$kit"
rm -rf "$staging" "$cache/build"
echo "$kit"
