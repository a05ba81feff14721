// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>

#include <filesystem>

namespace brightsum {

// file:// addresses for local files, made from and read back to the names the system gives
// them. On POSIX systems a folder's name is bytes that need not be UTF-8, and
// QUrl::fromLocalFile and toLocalFile go through text, which cannot hold such a name; Windows
// names files in UTF-16, which they carry.

// On POSIX systems every byte of the path but '/' and the unreserved ASCII ones is
// percent-encoded.
QUrl localFileAddress(const std::filesystem::path& file);

// The file a file:// address names, byte for byte; empty for any other address.
std::filesystem::path localFilePath(const QUrl& address);

}  // namespace brightsum
