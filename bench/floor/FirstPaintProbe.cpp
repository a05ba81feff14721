// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"

#include "TraceLog.h"

#include <QEvent>

namespace brightsum {

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()) {
        m_seen = true;
        trace::mark("first-paint", QStringLiteral("cpu=%1").arg(trace::processCpuNanoseconds()));
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brightsum
