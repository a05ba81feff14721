#pragma once

#include "UrlOpener.h"

#include <QApplication>
#include <QList>
#include <QUrl>
#include <QWidget>

// Records what it was asked to open instead of starting a viewer.
class RecordingUrlOpener final : public brightsum::UrlOpener {
public:
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return viewerStarts;
    }

    QList<QUrl> opened;
    bool viewerStarts = true;
};

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
