// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>

namespace brightsum {

class UrlOpener;
class AboutWindow;

// Behind the menu entry "&About Sumbright": keeps at most one About window. The window has no
// owner, so the main window and a running game go on beside it.
class AboutLauncher {
public:
    explicit AboutLauncher(UrlOpener& opener);
    ~AboutLauncher();

    AboutLauncher(const AboutLauncher&) = delete;
    AboutLauncher& operator=(const AboutLauncher&) = delete;

    // Creates (and so loads) the window when none is open, then shows it and brings it to the
    // front; choosing the entry again shows that same window.
    void mnuAbout_Click();
    // The open About window, or nullptr.
    AboutWindow* window() const;

private:
    UrlOpener& m_opener;
    QPointer<AboutWindow> m_window;
};

}  // namespace brightsum
