// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Cue.h"

#include <string>

namespace brightsum {

// What the cue means, in words the desktop's sound mixer shows beside the stream instead of
// the file's path, in the program's language (UTF-8). Call it where the catalogues are in
// reach: on the thread that plays the cue.
std::string cueDescription(Cue cue);

}  // namespace brightsum
