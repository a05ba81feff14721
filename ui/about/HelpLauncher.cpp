#include "HelpLauncher.h"

#include "OpenFailureNotice.h"
#include "UrlOpener.h"

#include <QDir>
#include <QUrl>

#include <utility>

namespace brightsum {

HelpLauncher::HelpLauncher(UrlOpener& opener, std::filesystem::path programFolder)
    : m_opener(opener), m_programFolder(std::move(programFolder)) {}

QUrl HelpLauncher::helpPageUrl() const {
    // QUrl::fromLocalFile takes text, which cannot hold a name that is not UTF-8; so every byte
    // but '/' and the unreserved ones is percent-encoded, and the address is made from that.
    const std::filesystem::path page = std::filesystem::absolute(m_programFolder) / "readme.htm";
    const QByteArray bytes = QByteArray::fromStdString(page.native());
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
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
