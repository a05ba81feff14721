// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracingWindowPort.h"

#include "MainWindow.h"
#include "TraceLog.h"

#include <QTimer>

namespace brightsum {

void TracingWindowPort::setCaption(Label label, const std::string& text) {
    m_window.setCaption(label, text);
}

std::string TracingWindowPort::caption(Label label) const {
    return m_window.caption(label);
}

void TracingWindowPort::setButtonCaption(int index, const std::string& text) {
    m_window.setButtonCaption(index, text);
}

std::string TracingWindowPort::buttonCaption(int index) const {
    return m_window.buttonCaption(index);
}

void TracingWindowPort::setButtonColour(int index, int paletteIndex) {
    m_window.setButtonColour(index, paletteIndex);
}

void TracingWindowPort::setButtonPicked(int index, bool picked) {
    m_window.setButtonPicked(index, picked);
}

void TracingWindowPort::setTimerEnabled(Timer timer, bool enabled) {
    // Enabling a running timer leaves it running, so only a stopped clock starts a question.
    const bool starts =
        timer == Timer::tmrCounter && enabled && !m_window.timer(Timer::tmrCounter)->isActive();
    m_window.setTimerEnabled(timer, enabled);
    if (starts) {
        trace::mark("question-start");
    }
}

void TracingWindowPort::centre() {
    m_window.centre();
}

void TracingWindowPort::announce(const Message& message) {
    m_window.announce(message);
}

}  // namespace brightsum
