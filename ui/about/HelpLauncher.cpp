// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpLauncher.h"

#include "HelpViewer.h"
#include "LanguageChoice.h"
#include "OpenFailureNotice.h"
#include "UrlOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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
    // QUrl::fromLocalFile takes text, which cannot hold a name that is not UTF-8; so every byte
    // but '/' and the unreserved ones is percent-encoded, and the address is made from that.
    const std::filesystem::path page =
        std::filesystem::absolute(m_programFolder) / name.toStdString();
    const QByteArray bytes = QByteArray::fromStdString(page.native());
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
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

void HelpLauncher::mnuHowtoPlay_Click() {
    const QUrl page = helpPageUrl();
    m_opener.openUrl(page, [this, page] { showBuiltInViewer(page); });
}

HelpViewer* HelpLauncher::viewer() const {
    return m_viewer && m_viewer->isVisible() ? m_viewer.data() : nullptr;
}

void HelpLauncher::showBuiltInViewer(const QUrl& page) {
    const QFileInfo file(page.toLocalFile());
    if (!file.isFile() || !file.isReadable()) {
        OpenFailureNotice::show(
            QCoreApplication::translate("brightsum::HelpLauncher",
                                        "No program could be started to show the help page %1")
                .arg(QDir::toNativeSeparators(page.toLocalFile())));
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
