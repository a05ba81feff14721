#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Brightsum need, when any
# of them is missing. Uses sudo unless already root.
#
#   scripts/deps.sh            the Linux build, the game and its tests
#   scripts/deps.sh windows    the Windows cross build, its kit, installer and Wine
set -euo pipefail

packages=(
    # build: g++ for the release build, clang 14 and its linker for the debug, sanitizer and
    # fuzz builds
    g++ clang-14 lld-14 cmake ninja-build pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
    libcanberra-dev libxcb1-dev
    # translations: lupdate and lrelease with their CMake functions, Qt's own catalogues, and
    # python3 for the pseudo-language the tests use
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n python3
    # run: sound back end, default alert sound, fonts with the metrics the layout needs, Qt's
    # X11 and Wayland platforms
    libcanberra-pulse sound-theme-freedesktop fonts-liberation2 qt6-qpa-plugins qt6-wayland
    # tests: headless desktop with a window manager, sound server, accessibility bus,
    # measuring tools
    xvfb xauth openbox xdotool x11-utils imagemagick dbus-daemon at-spi2-core python3-pyatspi
    gir1.2-atspi-2.0 pulseaudio pulseaudio-utils sox
    # names in a script the layout font lacks (the high-score rows)
    fonts-wqy-microhei
    # a Wayland desktop, with and without XWayland
    weston xwayland
    # the end-to-end test with a real screen reader, which logs what it would say
    orca speech-dispatcher
    # the sound tests and the benchmark under PipeWire, the default sound server of GNOME
    pipewire pipewire-pulse wireplumber
    # benchmark: flushes slowed by fault injection
    strace
    # the high-score faults test: a FAT stick, mounted through FUSE
    fusefat dosfstools
    # fuzzing, sanitizers, install checks, packaging
    libclang-rt-14-dev desktop-file-utils appstream dpkg-dev fakeroot file
    # the format check of the test command
    clang-format git
)
if [ "${1:-}" = windows ]; then
    packages=(
        # the Qt kit, from Debian's qt6-base source, and the program: mingw-w64 with posix
        # threads; the host's Qt tools (moc, rcc, uic, lrelease) are reused
        dpkg-dev g++-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev qt6-l10n-tools
        qt6-tools-dev python3
        # Qt's own catalogues (the standard buttons' texts), which the program folder carries
        qt6-translations-l10n
        # the portable folder and the installer; Wine runs the tests and the installer
        zip nsis wine wine64 binutils-mingw-w64-x86-64
        # the round trip of the window, the sound and the menus under Wine
        xvfb xauth xdotool x11-utils pulseaudio pulseaudio-utils sox imagemagick
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q -o DPkg::Lock::Timeout=900
$sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=900 "${missing[@]}"
