#include "DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace brightsum {

bool DesktopUrlOpener::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace brightsum
