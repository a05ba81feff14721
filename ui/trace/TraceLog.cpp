// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceLog.h"

#include <cstdio>
#include <ctime>

namespace brightsum::trace {

namespace {

long long nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

bool enabled() {
    static const bool on = qEnvironmentVariableIsSet("BRIGHTSUM_TRACE");
    return on;
}

void mark(const char* what, const QString& detail) {
    if (!enabled()) {
        return;
    }
    const long long now = nanoseconds(CLOCK_MONOTONIC);
    if (detail.isEmpty()) {
        std::fprintf(stderr, "%s %lld\n", what, now);
    } else {
        std::fprintf(stderr, "%s %lld %s\n", what, now, detail.toUtf8().constData());
    }
}

long long processCpuNanoseconds() {
    return nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
}

}  // namespace brightsum::trace
