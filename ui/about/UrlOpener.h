#pragma once

class QUrl;

namespace brightsum {

// Hands a document or web address to the desktop's default viewer. The About window and the
// help command open everything through this seam, so tests can record what would be opened.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Starts the viewer and returns at once, without waiting for it. Returns false when no
    // viewer could be started at all.
    virtual bool openUrl(const QUrl& url) = 0;
};

}  // namespace brightsum
