#pragma once

#include "UrlOpener.h"

namespace brightsum {

// The real opener: QDesktopServices passes the address to the desktop's handler as a single
// argument of a new process, never through a shell, so no character of a path can run a command.
class DesktopUrlOpener final : public UrlOpener {
public:
    bool openUrl(const QUrl& url) override;
};

}  // namespace brightsum
