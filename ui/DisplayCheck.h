// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brightsum {

// How the toolkit is to reach the desktop, decided before it starts: without a display it
// can open, Qt aborts with advice to reinstall the program, and an X server that accepts a
// connection but never answers would hold it forever.
struct DisplayChoice {
    // A platform the program asks the toolkit for itself: "xcb" when no platform was
    // requested and an X server answers, so that an XWayland desktop runs the windows on
    // X11, where they are placed as designed (a Wayland compositor places them itself).
    std::optional<std::string> platform;
    // The one line that tells the player what is missing; the program then ends.
    std::optional<std::string> problem;
};

// Looks for an X11 or Wayland display that answers and for the toolkit's plugin that would
// use it (in `platformPlugins`, the toolkit's folder of platform plugins). A platform that
// needs no display (-platform or QT_QPA_PLATFORM "offscreen", "vnc"...) is left alone, and
// so is a Wayland connection handed down in WAYLAND_SOCKET.
DisplayChoice chooseDisplay(int argc, char** argv, const std::filesystem::path& platformPlugins);

}  // namespace brightsum
