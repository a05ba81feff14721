// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HighScoreTable.h"
#include "HighScoreWindowPort.h"

#include <vector>

namespace brightsum::sim {

class SimDesktop;

// Keeps a copy of every table it was asked to show, as the real window copies what it shows
// when it is built.
class SimHighScoreWindow final : public HighScoreWindowPort {
public:
    explicit SimHighScoreWindow(SimDesktop& desktop) : m_desktop(desktop) {}

    void showHighScores(const HighScoreTable& table) override;

    const std::vector<HighScoreTable>& shown() const { return m_shown; }

private:
    SimDesktop& m_desktop;
    std::vector<HighScoreTable> m_shown;
};

}  // namespace brightsum::sim
