// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimHighScoreWindow.h"

#include "SimDesktop.h"

namespace brightsum::sim {

void SimHighScoreWindow::showHighScores(const HighScoreTable& table) {
    m_shown.push_back(table);
    m_desktop.note("highscores shown");
}

}  // namespace brightsum::sim
