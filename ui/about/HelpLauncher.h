#pragma once

#include <QString>

class QUrl;

namespace brightsum {

class UrlOpener;

// Behind the menu entry "&Information and Instructions": opens the help page "readme.htm" of
// the program folder in the desktop's default viewer, every time it is chosen.
class HelpLauncher {
public:
    HelpLauncher(UrlOpener& opener, QString programFolder);

    // Returns as soon as the viewer has been started; never waits for it.
    void mnuHowtoPlay_Click();
    // The help page as a file URL: every character of the folder's path is taken literally.
    QUrl helpPageUrl() const;

private:
    UrlOpener& m_opener;
    QString m_programFolder;
};

}  // namespace brightsum
