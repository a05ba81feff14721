// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace brightsum::trace {

// Timing marks for the benchmark, off unless BRIGHTSUM_TRACE is set when the program starts.
// Each mark is one line on stderr: "<what> <CLOCK_MONOTONIC ns>[ <detail>]".
bool enabled();
void mark(const char* what, const QString& detail = QString());

// The CPU time this process has used so far, in nanoseconds.
long long processCpuNanoseconds();

}  // namespace brightsum::trace
