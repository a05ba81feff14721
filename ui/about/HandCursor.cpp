// SPDX-License-Identifier: GPL-3.0-or-later
#include "HandCursor.h"

#include <QCursor>
#include <QPixmap>

namespace brightsum {

QCursor handCursor() {
    constexpr int kHotX = 12;
    constexpr int kHotY = 1;
    return QCursor(QPixmap(QStringLiteral(":/cursors/hand.xpm")), kHotX, kHotY);
}

}  // namespace brightsum
