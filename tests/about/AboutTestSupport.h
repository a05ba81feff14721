#pragma once

#include "UrlOpener.h"

#include <QList>
#include <QUrl>

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
