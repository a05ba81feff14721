// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UrlOpener.h"
#include "WindowLayout.h"

#include <QApplication>
#include <QList>
#include <QScreen>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace brightsum {

// The program maps the windows' face when it starts; so does every test that includes this.
inline void installFaceForTests() {
    layout::installFace();
}
Q_COREAPP_STARTUP_FUNCTION(installFaceForTests)

// Records what it was asked to open instead of starting a viewer. A viewer that starts keeps
// its failure callback in `running`, so a test can make it fail later.
class RecordingUrlOpener final : public UrlOpener {
public:
    void openUrl(const QUrl& url, Failure failed) override {
        opened.append(url);
        if (viewerStarts) {
            running.append(std::move(failed));
        } else {
            failed();
        }
    }

    QList<QUrl> opened;
    QList<Failure> running;
    bool viewerStarts = true;
};

// Whether the window's outer frame, not just its client area, is centred on its screen.
inline bool centredOnScreen(const QWidget* window) {
    const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}

template <typename T>
QList<T*> visibleWindows() {
    QList<T*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible()) {
            found.append(window);
        }
    }
    return found;
}

}  // namespace brightsum
