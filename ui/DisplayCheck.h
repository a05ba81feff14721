// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace brightsum {

// Whether the toolkit will find a display to open, checked before it starts: without one Qt
// aborts, advising to reinstall the program. Returns the one line that tells the player what
// is missing, or nothing when an X11 or Wayland display answers, or when the toolkit is asked
// for a platform that needs none (QT_QPA_PLATFORM or -platform, e.g. "offscreen").
std::optional<std::string> missingDisplay(int argc, char** argv);

}  // namespace brightsum
