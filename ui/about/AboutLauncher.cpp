// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutLauncher.h"

#include "AboutWindow.h"

namespace brightsum {

AboutLauncher::AboutLauncher(UrlOpener& opener) : m_opener(opener) {}

AboutLauncher::~AboutLauncher() {
    // The window refers to the opener, which may not outlive this launcher.
    delete m_window.data();
}

void AboutLauncher::mnuAbout_Click() {
    if (m_window.isNull()) {
        m_window = new AboutWindow(m_opener);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

AboutWindow* AboutLauncher::window() const {
    return m_window.data();
}

}  // namespace brightsum
