#include "QtHighScoreWindow.h"

#include "Form2.h"
#include "SoundPort.h"

namespace brightsum {

QtHighScoreWindow::~QtHighScoreWindow() {
    delete m_window.data();
}

Form2* QtHighScoreWindow::window() const {
    // A closed window lingers until the event loop deletes it; it no longer counts as open.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void QtHighScoreWindow::showHighScores(const HighScoreTable& table) {
    if (Form2* open = window()) {
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->raise();
        open->activateWindow();
        return;
    }
    m_window = new Form2(table, [this] { m_sound.PlaySoundCue(kShowCue, CueMode::Async); });
    m_window->show();
}

}  // namespace brightsum
