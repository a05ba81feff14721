// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace brightsum {

// A high score placed at game over, as InsertHighScore takes it, kept until it has reached
// the file.
struct NewHighScore {
    std::string name;
    double points = 0;
    double level = 0;
};

}  // namespace brightsum
