// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"

#include <string>

namespace brightsum {

// The labels of the main window that the game writes.
enum class Label {
    lblPart1,
    lblOper,
    lblPart2,
    lblEqual,
    lblAnswer,
    lblScore,
    lblPoints,
    lblQuestionNumber,
    lblLevel,
};

// The main window's three timers, with the intervals the window gives them.
enum class Timer { tmrCounter, tmrPoints, tmrInit };

constexpr int timerIntervalMs(Timer timer) {
    switch (timer) {
        case Timer::tmrCounter:
            return 23000;
        case Timer::tmrPoints:
            return 1000;
        case Timer::tmrInit:
            return 200;
    }
    return 0;
}

// Board colours, as indexes of the classic 16-colour palette.
constexpr int kLightBlue = 9;    // RGB 0, 0, 255
constexpr int kLightGreen = 10;  // RGB 0, 255, 0

constexpr int kBoardButtons = 36;

// What the game needs of its main window.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    virtual void setCaption(Label label, const std::string& text) = 0;
    virtual std::string caption(Label label) const = 0;

    virtual void setButtonCaption(int index, const std::string& text) = 0;
    virtual std::string buttonCaption(int index) const = 0;
    virtual void setButtonColour(int index, int paletteIndex) = 0;
    // Whether board button i is one of the player's picks, for assistive technology; its
    // colour says so to the eye.
    virtual void setButtonPicked(int index, bool picked) = 0;

    // Enabling a disabled timer starts a fresh interval; disabling stops it at once.
    virtual void setTimerEnabled(Timer timer, bool enabled) = 0;

    // Centres the window on the screen with its outer size.
    virtual void centre() = 0;

    // Tells assistive technology about what happened (a right answer, the time running out).
    virtual void announce(const Message& message) = 0;
};

}  // namespace brightsum
