#pragma once

#include "HighScoreWindowPort.h"

#include <QPointer>

namespace brightsum {

class Form2;
class SoundPort;

// Shows the high-score window: at most one at a time, built and filled when it is not open,
// only brought to the front when it is.
class QtHighScoreWindow final : public HighScoreWindowPort {
public:
    static constexpr const char* kShowCue = "showhi.wav";

    explicit QtHighScoreWindow(SoundPort& sound) : m_sound(sound) {}
    ~QtHighScoreWindow() override;

    QtHighScoreWindow(const QtHighScoreWindow&) = delete;
    QtHighScoreWindow& operator=(const QtHighScoreWindow&) = delete;

    void showHighScores(const HighScoreTable& table) override;

    // The open window, or nothing.
    Form2* window() const;

private:
    SoundPort& m_sound;
    QPointer<Form2> m_window;
};

}  // namespace brightsum
