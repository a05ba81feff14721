// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QUrl;

namespace brightsum {

// Hands a document or web address to the desktop's default viewer. The About window and the
// help command open everything through this seam, so tests can record what would be opened.
class UrlOpener {
public:
    // Runs when no viewer could be started, or when the desktop's opener ended reporting that
    // it could not show the address. It may run before openUrl() returns.
    using Failure = std::function<void()>;

    virtual ~UrlOpener() = default;
    // Starts the viewer and returns at once, without waiting for it.
    virtual void openUrl(const QUrl& url, Failure failed) = 0;
};

}  // namespace brightsum
