#pragma once

#include <filesystem>

class QUrl;

namespace brightsum {

class UrlOpener;

// Behind the menu entry "&Information and Instructions": opens the help page "readme.htm" of
// the program folder in the desktop's default viewer, every time it is chosen.
class HelpLauncher {
public:
    HelpLauncher(UrlOpener& opener, std::filesystem::path programFolder);

    // Returns as soon as the viewer has been started; never waits for it.
    void mnuHowtoPlay_Click();
    // The help page as a file URL that names the bytes of the folder's path exactly, also
    // when they are not valid UTF-8.
    QUrl helpPageUrl() const;

private:
    UrlOpener& m_opener;
    std::filesystem::path m_programFolder;
};

}  // namespace brightsum
