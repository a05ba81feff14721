// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace brightsum {

// What each cue means, in words the desktop's sound mixer shows beside the stream instead of
// the file's path. Empty for a file that is not one of the seven cues.
std::string_view cueDescription(std::string_view file);

}  // namespace brightsum
