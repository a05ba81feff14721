// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tracing.h"

#include "GameSession.h"
#include "TraceEventFilter.h"
#include "TraceLog.h"
#include "TracingSoundPort.h"
#include "TracingWindowPort.h"

#include <QCoreApplication>

namespace brightsum {

Tracing::Tracing() : m_enabled(trace::enabled()) {}

Tracing::~Tracing() = default;

SoundPort& Tracing::sound(SoundPort& sound) {
    if (!m_enabled) {
        return sound;
    }
    m_sound = std::make_unique<TracingSoundPort>(sound);
    return *m_sound;
}

MainWindowPort& Tracing::window(MainWindow& window) {
    if (!m_enabled) {
        return window;
    }
    m_window = std::make_unique<TracingWindowPort>(window);
    return *m_window;
}

void Tracing::watch(GameSession& session) {
    if (m_enabled) {
        QCoreApplication::instance()->installEventFilter(
            new TraceEventFilter(session.window(), QCoreApplication::instance()));
    }
}

}  // namespace brightsum
