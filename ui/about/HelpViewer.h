// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace brightsum {

class Announcer;
class UrlOpener;

// The program's own window for the help page, for desktops where no browser can show it:
// read-only, titled with the page's title, following the page's own anchors inside itself and
// handing links to anywhere else to the desktop. Escape closes it; it is destroyed on closing.
// A screen reader reads the page line by line as the arrow keys move the caret, and hears the
// link that Tab reaches.
class HelpViewer final : public QWidget {
    Q_OBJECT
public:
    HelpViewer(const QUrl& page, UrlOpener& opener, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }

private:
    void followLink(const QUrl& link);

    UrlOpener& m_opener;
    QUrl m_page;
    QTextBrowser* m_browser = nullptr;
    Announcer* m_announcer = nullptr;
};

}  // namespace brightsum
