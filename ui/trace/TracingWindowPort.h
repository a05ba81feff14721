// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowPort.h"

namespace brightsum {

class MainWindow;

// Passes everything the game writes on to the main window and marks, through trace::mark,
// each start of the question clock.
class TracingWindowPort final : public MainWindowPort {
public:
    explicit TracingWindowPort(MainWindow& window) : m_window(window) {}

    // The one call it watches.
    void setTimerEnabled(Timer timer, bool enabled) override;

    // The rest pass straight through.
    void centre() override;
    void announce(const Message& message) override;
    void setCaption(Label label, const std::string& text) override;
    std::string caption(Label label) const override;
    void setButtonCaption(int index, const std::string& text) override;
    std::string buttonCaption(int index) const override;
    void setButtonColour(int index, int paletteIndex) override;
    void setButtonPicked(int index, bool picked) override;

private:
    MainWindow& m_window;
};

}  // namespace brightsum
