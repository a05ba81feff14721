// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace brightsum {

// Prints "first-paint <monotonic ns> cpu=<process CPU ns>" to stderr when the first widget
// of the program is painted, the same line the game prints when asked to trace.
class FirstPaintProbe final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
};

}  // namespace brightsum
