// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace brightsum {

class HighScoreTable;

class HighScoreWindowPort {
public:
    virtual ~HighScoreWindowPort() = default;
    // Builds the window from the table and shows it without waiting; when it is already
    // open, only brings it to the front.
    virtual void showHighScores(const HighScoreTable& table) = 0;
};

}  // namespace brightsum
