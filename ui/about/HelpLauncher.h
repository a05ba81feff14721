// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>

class QUrl;

namespace brightsum {

class HelpViewer;
class UrlOpener;

// Behind the menu entry "&Information and Instructions": opens the help page of the program
// folder in the desktop's default viewer, every time it is chosen. The page is "readme.htm",
// or "readme.<language>.htm" beside it for the first of the desktop's languages that has one.
// When the desktop has no viewer that works, the page opens in the program's own help window
// instead, so the help never fails in silence.
class HelpLauncher {
public:
    HelpLauncher(UrlOpener& opener, std::filesystem::path programFolder);
    ~HelpLauncher();

    HelpLauncher(const HelpLauncher&) = delete;
    HelpLauncher& operator=(const HelpLauncher&) = delete;

    // Returns as soon as the viewer has been started; never waits for it.
    void mnuHowtoPlay_Click();
    // The help page as a file URL that names the bytes of the folder's path exactly, also
    // when they are not valid UTF-8.
    QUrl helpPageUrl() const;
    // The program's own help window while it is open, or nullptr.
    HelpViewer* viewer() const;

    // The help page's file name for the first of the languages whose page `exists`; the
    // English "readme.htm" when English comes first or no language has a page.
    static QString helpPageName(const QStringList& uiLanguages,
                                const std::function<bool(const QString&)>& exists);

private:
    void showBuiltInViewer(const QUrl& page);

    UrlOpener& m_opener;
    std::filesystem::path m_programFolder;
    QPointer<HelpViewer> m_viewer;
};

}  // namespace brightsum
