#include "SimWindow.h"

#include <stdexcept>

#include "SimDesktop.h"

namespace brightsum::sim {

namespace {

constexpr std::array<std::string_view, 9> kLabelNames = {
    "lblPart1", "lblOper",   "lblPart2",          "lblEqual", "lblAnswer",
    "lblScore", "lblPoints", "lblQuestionNumber", "lblLevel",
};

void checkIndex(int index) {
    if (index < 0 || index >= kBoardButtons) {
        throw std::out_of_range("no board button " + std::to_string(index));
    }
}

}  // namespace

SimWindow::SimWindow(SimDesktop& desktop)
    : m_desktop(desktop), m_labels{"Label1", "Label1", "Label2", "=", "Label1",
                                   "0",      "1000",   "1",      "1"} {
    m_buttonCaptions.fill("0");
    m_buttonColours.fill(kWhite);
}

std::string_view SimWindow::name(Label label) {
    return kLabelNames[static_cast<std::size_t>(label)];
}

std::string_view SimWindow::name(Timer timer) {
    switch (timer) {
        case Timer::tmrCounter:
            return "tmrCounter";
        case Timer::tmrPoints:
            return "tmrPoints";
        case Timer::tmrInit:
            return "tmrInit";
    }
    return "?";
}

void SimWindow::setCaption(Label label, const std::string& text) {
    m_labels[static_cast<std::size_t>(label)] = text;
    m_desktop.note(std::string(name(label)) + "=" + text);
}

std::string SimWindow::caption(Label label) const {
    return m_labels[static_cast<std::size_t>(label)];
}

std::string SimWindow::caption(std::string_view controlName) const {
    for (std::size_t i = 0; i < kLabelNames.size(); ++i) {
        if (kLabelNames[i] == controlName) {
            return m_labels[i];
        }
    }
    throw std::invalid_argument("no label " + std::string(controlName));
}

void SimWindow::setButtonCaption(int index, const std::string& text) {
    checkIndex(index);
    m_buttonCaptions[static_cast<std::size_t>(index)] = text;
}

std::string SimWindow::buttonCaption(int index) const {
    checkIndex(index);
    return m_buttonCaptions[static_cast<std::size_t>(index)];
}

void SimWindow::setButtonColour(int index, int paletteIndex) {
    checkIndex(index);
    m_buttonColours[static_cast<std::size_t>(index)] = paletteIndex;
}

int SimWindow::buttonColour(int index) const {
    checkIndex(index);
    return m_buttonColours[static_cast<std::size_t>(index)];
}

std::vector<int> SimWindow::buttonsColoured(int paletteIndex) const {
    std::vector<int> result;
    for (int i = 0; i < kBoardButtons; ++i) {
        if (m_buttonColours[static_cast<std::size_t>(i)] == paletteIndex) {
            result.push_back(i);
        }
    }
    return result;
}

void SimWindow::setTimerEnabled(Timer timer, bool enabled) {
    m_desktop.setTimerEnabled(timer, enabled);
    m_desktop.note(std::string(name(timer)) + (enabled ? " on" : " off"));
}

bool SimWindow::timerEnabled(Timer timer) const {
    return m_desktop.timerEnabled(timer);
}

void SimWindow::centre() {
    ++m_centred;
    m_desktop.note("centre");
}

void SimWindow::announce(const std::string& message) {
    m_announcements.push_back(message);
    m_desktop.note("announce " + message);
}

}  // namespace brightsum::sim
