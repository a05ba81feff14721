#include "HelpLauncher.h"

#include "OpenFailureNotice.h"
#include "UrlOpener.h"

#include <QDir>
#include <QUrl>

#include <utility>

namespace brightsum {

HelpLauncher::HelpLauncher(UrlOpener& opener, QString programFolder)
    : m_opener(opener), m_programFolder(std::move(programFolder)) {}

QUrl HelpLauncher::helpPageUrl() const {
    return QUrl::fromLocalFile(m_programFolder + QStringLiteral("/readme.htm"));
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
