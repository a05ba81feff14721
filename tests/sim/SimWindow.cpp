// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimWindow.h"

#include "SimDesktop.h"

#include <algorithm>
#include <stdexcept>

namespace brightsum::sim {

namespace {

constexpr std::array<std::string_view, 9> kLabelNames = {
    "lblPart1", "lblOper",   "lblPart2",          "lblEqual", "lblAnswer",
    "lblScore", "lblPoints", "lblQuestionNumber", "lblLevel",
};
constexpr std::array<std::string_view, 3> kTimerNames = {"tmrCounter", "tmrPoints", "tmrInit"};

std::size_t slot(auto value) {
    return static_cast<std::size_t>(value);
}

}  // namespace

// White buttons showing "0", as the window is created.
SimWindow::SimWindow(SimDesktop& desktop)
    : m_desktop(desktop), m_labels{"Label1", "Label1", "Label2", "=", "Label1",
                                   "0",      "1000",   "1",      "1"} {
    m_buttonCaptions.fill("0");
    m_buttonColours.fill(15);
}

void SimWindow::setCaption(Label label, const std::string& text) {
    m_labels[slot(label)] = text;
    m_desktop.note(std::string(kLabelNames[slot(label)]) + "=" + text);
}

std::string SimWindow::caption(Label label) const {
    return m_labels[slot(label)];
}

std::string SimWindow::caption(std::string_view controlName) const {
    const auto it = std::find(kLabelNames.begin(), kLabelNames.end(), controlName);
    if (it == kLabelNames.end()) {
        throw std::invalid_argument("no label " + std::string(controlName));
    }
    return m_labels[slot(it - kLabelNames.begin())];
}

// An index off the board throws, so that a test sees it instead of undefined behaviour.
void SimWindow::setButtonCaption(int index, const std::string& text) {
    m_buttonCaptions.at(slot(index)) = text;
}

std::string SimWindow::buttonCaption(int index) const {
    return m_buttonCaptions.at(slot(index));
}

void SimWindow::setButtonColour(int index, int paletteIndex) {
    m_buttonColours.at(slot(index)) = paletteIndex;
}

std::vector<int> SimWindow::buttonsColoured(int paletteIndex) const {
    std::vector<int> result;
    for (int i = 0; i < kBoardButtons; ++i) {
        if (m_buttonColours[slot(i)] == paletteIndex) {
            result.push_back(i);
        }
    }
    return result;
}

void SimWindow::setButtonPicked(int index, bool picked) {
    m_buttonsPicked.at(slot(index)) = picked;
}

std::vector<int> SimWindow::buttonsPicked() const {
    std::vector<int> result;
    for (int i = 0; i < kBoardButtons; ++i) {
        if (m_buttonsPicked[slot(i)]) {
            result.push_back(i);
        }
    }
    return result;
}

void SimWindow::setTimerEnabled(Timer timer, bool enabled) {
    m_desktop.setTimerEnabled(timer, enabled);
    m_desktop.note(std::string(kTimerNames[slot(timer)]) + (enabled ? " on" : " off"));
}

void SimWindow::centre() {
    ++m_centred;
    m_desktop.note("centre");
}

std::string SimWindow::said(const Message& message) {
    const MessageInfo& info = messageInfo(message.id);
    std::string words(info.name);
    for (int i = 0; i < info.arguments; ++i) {
        words += ' ';
        words += std::to_string(message.args.at(static_cast<std::size_t>(i)));
    }
    return words;
}

void SimWindow::announce(const Message& message) {
    m_desktop.note("announce " + said(message));
}

}  // namespace brightsum::sim
