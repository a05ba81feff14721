#include "HelpLauncher.h"

#include "LanguageChoice.h"
#include "OpenFailureNotice.h"
#include "UrlOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <utility>

namespace brightsum {

HelpLauncher::HelpLauncher(UrlOpener& opener, QString programFolder)
    : m_opener(opener), m_programFolder(std::move(programFolder)) {}

QUrl HelpLauncher::helpPageUrl() const {
    const QString page =
        helpPageName(LanguageChoice::desktopLanguages(), [this](const QString& name) {
            return QFileInfo(m_programFolder + QLatin1Char('/') + name).isFile();
        });
    return QUrl::fromLocalFile(m_programFolder + QLatin1Char('/') + page);
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
    if (!m_opener.openUrl(page)) {
        OpenFailureNotice::show(
            QStringLiteral("No program could be started to show the help page %1")
                .arg(QDir::toNativeSeparators(page.toLocalFile())));
    }
}

}  // namespace brightsum
