// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalFileAddress.h"

#include <QByteArray>

namespace brightsum {

QUrl localFileAddress(const std::filesystem::path& file) {
    const QByteArray bytes = QByteArray::fromStdString(file.native());
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

std::filesystem::path localFilePath(const QUrl& address) {
    if (!address.isLocalFile()) {
        return {};
    }
    const QByteArray encoded = address.path(QUrl::FullyEncoded).toLatin1();
    return QByteArray::fromPercentEncoding(encoded).toStdString();
}

}  // namespace brightsum
