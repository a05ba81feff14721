// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracingWindowPort.h"

#include "MainWindow.h"
#include "TraceLog.h"

#include <QStringList>
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
        // What a driver without the accessibility bus (the Windows round trip under Wine)
        // needs to find a pair: the target and the board, button by button, once the game
        // has written them, after the clock started.
        QTimer::singleShot(0, &m_window, [this] {
            QStringList board;
            for (int index = 0; index < kBoardButtons; ++index) {
                board << QString::fromStdString(m_window.buttonCaption(index));
            }
            trace::mark("question-shown",
                        QStringLiteral("target=%1 board=%2")
                            .arg(QString::fromStdString(m_window.caption(Label::lblAnswer)),
                                 board.join(QLatin1Char(','))));
        });
    }
}

void TracingWindowPort::centre() {
    m_window.centre();
}

void TracingWindowPort::announce(const Message& message) {
    m_window.announce(message);
}

}  // namespace brightsum
