#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Brightsum for 64-bit Windows on this Debian machine and writes
#   build/windows/Brightsum-<version>-windows-x64.zip   the portable program folder
#   build/windows/Brightsum-<version>-setup.exe         the installer (NSIS)
# Builds the Qt kit first when it is not cached yet (scripts/windows-kit.sh, about 20 minutes
# once). The build includes the test suites, which `ctest --preset windows` runs under Wine.
#
# BRIGHTSUM_WERROR=ON makes every compiler warning an error, as on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

BRIGHTSUM_WINDOWS_KIT=$(scripts/windows-kit.sh | tail -n 1)
export BRIGHTSUM_WINDOWS_KIT

build=build/windows
cmake --preset windows "-DBRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF}" >/dev/null
cmake --build --preset windows

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="Brightsum-$version"
stage="$root/$build/package"
folder="$stage/$name"
rm -rf "$stage"
cmake --install "$build" --prefix "$folder" >/dev/null
# Symbols are for debuggers; a child's computer needs a folder a tenth of the size.
find "$folder" -iname '*.exe' -o -iname '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# The portable folder, named for its version, zipped whole.
zip="$root/$build/$name-windows-x64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -r -X "$zip" "$name")

# The installer installs and uninstalls the same files, listed one by one.
files="$stage/files.nsh"
unfiles="$stage/unfiles.nsh"
: >"$files"
: >"$unfiles"
(cd "$folder" && find . -type d | sort) | while read -r dir; do
    windir=${dir#.}
    windir=${windir//\//\\}
    printf 'SetOutPath "$INSTDIR%s"\n' "$windir" >>"$files"
    (cd "$folder/$dir" && find . -maxdepth 1 -type f | sort) | while read -r file; do
        file=${file#./}
        printf 'File "%s"\n' "$(realpath "$folder/$dir/$file")" >>"$files"
        printf 'Delete "$INSTDIR%s\\%s"\n' "$windir" "$file" >>"$unfiles"
    done
done
# Subfolders before the folders that hold them.
(cd "$folder" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    windir=${dir#.}
    printf 'RMDir "$INSTDIR%s"\n' "${windir//\//\\}" >>"$unfiles"
done
printf 'SetOutPath "$INSTDIR"\n' >>"$files"

setup="$root/$build/$name-setup.exe"
makensis -V2 -NOCD -DVERSION="$version" -DICON="$root/assets/icons/brightsum.ico" \
    -DFILES="$files" -DUNFILES="$unfiles" -DLICENCE="$folder/LICENSE.txt" \
    -DOUTFILE="$setup" packaging/windows/brightsum.nsi

ls -l "$zip" "$setup" | awk '{ printf "%s  %d KiB\n", $NF, $5 / 1024 }'
