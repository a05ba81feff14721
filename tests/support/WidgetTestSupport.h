// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UrlOpener.h"
#include "WindowLayout.h"

#include <QApplication>
#include <QList>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace brightsum {

// The program maps the windows' face when it starts; so does every test that includes this.
inline void installFaceForTests() {
    layout::installFace();
}
Q_COREAPP_STARTUP_FUNCTION(installFaceForTests)

// Records what it was asked to open instead of starting a viewer.
class RecordingUrlOpener final : public UrlOpener {
public:
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return viewerStarts;
    }

    QList<QUrl> opened;
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
