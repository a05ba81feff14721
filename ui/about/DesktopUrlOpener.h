// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UrlOpener.h"

#include <QObject>

namespace brightsum {

// The real opener. On Windows it asks the shell to open the address (ShellExecuteW) and
// reports a failure when no program could be started for it. Elsewhere it runs the desktop's
// "xdg-open" with the address as its single argument, never through a shell, so no character
// of a path can run a command. It does not wait for the opener but watches it: an opener that
// cannot be started, or that exits with a failure (as "xdg-open" does with status 3 or 4 when
// nothing on the desktop can show the address), is reported through the failure callback.
class DesktopUrlOpener final : public UrlOpener {
public:
    DesktopUrlOpener() = default;
    // An opener still running (it may wait for the browser it started) is stopped quietly;
    // what it started runs on.
    ~DesktopUrlOpener() override;

    DesktopUrlOpener(const DesktopUrlOpener&) = delete;
    DesktopUrlOpener& operator=(const DesktopUrlOpener&) = delete;

    void openUrl(const QUrl& url, Failure failed) override;
    // Whether every opener started has ended and been reported.
    bool idle() const;

private:
    // Parent of the running openers; each deletes itself when it ends.
    QObject m_running;
};

}  // namespace brightsum
