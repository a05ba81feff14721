// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowPort.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brightsum::sim {

class SimDesktop;

// The main window without pixels: what each control shows, readable by its control name.
// It starts with the captions and colours the window has when it is created.
class SimWindow final : public MainWindowPort {
public:
    explicit SimWindow(SimDesktop& desktop);

    void setCaption(Label label, const std::string& text) override;
    std::string caption(Label label) const override;
    void setButtonCaption(int index, const std::string& text) override;
    std::string buttonCaption(int index) const override;
    void setButtonColour(int index, int paletteIndex) override;
    void setButtonPicked(int index, bool picked) override;
    void setTimerEnabled(Timer timer, bool enabled) override;
    void centre() override;
    void announce(const Message& message) override;
    // "FinalScore 5400": a message and the numbers it uses, as the trace notes it.
    static std::string said(const Message& message);

    // "lblScore", "lblPart1", ...
    std::string caption(std::string_view controlName) const;
    int buttonColour(int index) const {
        return m_buttonColours.at(static_cast<std::size_t>(index));
    }
    std::vector<int> buttonsColoured(int paletteIndex) const;
    // The buttons a screen reader hears as picked.
    std::vector<int> buttonsPicked() const;
    int centred() const { return m_centred; }

private:
    SimDesktop& m_desktop;
    std::array<std::string, 9> m_labels;
    std::array<std::string, kBoardButtons> m_buttonCaptions;
    std::array<int, kBoardButtons> m_buttonColours;
    std::array<bool, kBoardButtons> m_buttonsPicked{};
    int m_centred = 0;
};

}  // namespace brightsum::sim
