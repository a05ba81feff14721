// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpLauncher.h"

#include "HelpViewer.h"
#include "LanguageChoice.h"
#include "LocalFileAddress.h"
#include "OpenFailureNotice.h"
#include "UrlOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <utility>

namespace brightsum {

HelpLauncher::HelpLauncher(UrlOpener& opener, std::filesystem::path programFolder)
    : m_opener(opener), m_programFolder(std::move(programFolder)) {}

HelpLauncher::~HelpLauncher() {
    // The window refers to the opener, which may not outlive this launcher.
    delete m_viewer.data();
}

QUrl HelpLauncher::helpPageUrl() const {
    const QString name =
        helpPageName(LanguageChoice::desktopLanguages(), [this](const QString& candidate) {
            std::error_code error;
            return std::filesystem::is_regular_file(m_programFolder / candidate.toStdString(),
                                                    error);
        });
    return localFileAddress(std::filesystem::absolute(m_programFolder) / name.toStdString());
}

QString HelpLauncher::helpPageName(const QStringList& uiLanguages,
                                   const std::function<bool(const QString&)>& exists) {
    auto pageFor = [](const QString& language) {
        return QStringLiteral("readme.%1.htm").arg(language);
    };
    const QString language = LanguageChoice::bestMatch(
        uiLanguages, [&](const QString& name) { return exists(pageFor(name)); });
    return language.isEmpty() ? QStringLiteral("readme.htm") : pageFor(language);
}

namespace {

bool readableFile(const std::filesystem::path& file) {
    std::error_code error;
#ifdef _WIN32
    constexpr int kReadable = 4;
    return std::filesystem::is_regular_file(file, error) &&
           ::_waccess(file.c_str(), kReadable) == 0;
#else
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), R_OK) == 0;
#endif
}

void tellPageMissing(const QUrl& page) {
    OpenFailureNotice::show(
        QCoreApplication::translate("brightsum::HelpLauncher",
                                    "The help page %1 is missing or cannot be read.")
            .arg(QDir::toNativeSeparators(page.toLocalFile())));
}

}  // namespace

void HelpLauncher::mnuHowtoPlay_Click() {
    const QUrl page = helpPageUrl();
    // No viewer can show a page that is not there, and whatever it said would blame itself.
    if (!readableFile(localFilePath(page))) {
        tellPageMissing(page);
        return;
    }
    m_opener.openUrl(page, [this, page] { showBuiltInViewer(page); });
}

HelpViewer* HelpLauncher::viewer() const {
    return m_viewer && m_viewer->isVisible() ? m_viewer.data() : nullptr;
}

void HelpLauncher::showBuiltInViewer(const QUrl& page) {
    // Removed while the desktop's viewer tried it.
    if (!readableFile(localFilePath(page))) {
        tellPageMissing(page);
        return;
    }
    if (HelpViewer* open = viewer()) {
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->raise();
        open->activateWindow();
        return;
    }
    m_viewer = new HelpViewer(page, m_opener);
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

}  // namespace brightsum
