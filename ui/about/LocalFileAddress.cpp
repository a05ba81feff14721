// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalFileAddress.h"

#include <QByteArray>

namespace brightsum {

#ifdef _WIN32

// Windows names files in UTF-16, which file addresses carry as UTF-8.
QUrl localFileAddress(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdWString(file.native()));
}

std::filesystem::path localFilePath(const QUrl& address) {
    if (!address.isLocalFile()) {
        return {};
    }
    return std::filesystem::path(address.toLocalFile().toStdWString());
}

#else

// A POSIX name is bytes in no particular encoding: they go into the address and come back out
// percent-encoded, one for one.
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

#endif

}  // namespace brightsum
