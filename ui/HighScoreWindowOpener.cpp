// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreWindowOpener.h"

#include "HighScoreWindow.h"
#include "SoundPort.h"

namespace brightsum {

HighScoreWindowOpener::~HighScoreWindowOpener() {
    delete m_window.data();
}

HighScoreWindow* HighScoreWindowOpener::window() const {
    // A closed window lingers until the event loop deletes it; it no longer counts as open.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void HighScoreWindowOpener::showHighScores(const HighScoreTable& table) {
    if (HighScoreWindow* open = window()) {
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->raise();
        open->activateWindow();
        return;
    }
    m_window = new HighScoreWindow(
        table, [this] { m_sound.PlaySoundCue(Cue::ShowHighScores, CueMode::Async); });
    m_window->show();
}

}  // namespace brightsum
