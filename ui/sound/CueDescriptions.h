// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace brightsum {

// What each cue means, in words the desktop's sound mixer shows beside the stream instead of
// the file's path, in the program's language (UTF-8). Empty for a file that is not one of the
// seven cues. Call it where the catalogues are in reach: on the thread that plays the cue.
std::string cueDescription(std::string_view file);

}  // namespace brightsum
