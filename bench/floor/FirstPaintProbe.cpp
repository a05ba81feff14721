#include "FirstPaintProbe.h"

#include <QEvent>

#include <cstdio>
#include <ctime>

namespace brightsum {

namespace {

long long nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()) {
        m_seen = true;
        std::fprintf(stderr, "first-paint %lld cpu=%lld\n", nanoseconds(CLOCK_MONOTONIC),
                     nanoseconds(CLOCK_PROCESS_CPUTIME_ID));
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brightsum
