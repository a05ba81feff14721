// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HighScoreWindowPort.h"

#include <QPointer>

namespace brightsum {

class HighScoreWindow;
class SoundPort;

// Shows the high-score window: at most one at a time, built and filled when it is not open,
// only brought to the front when it is.
class HighScoreWindowOpener final : public HighScoreWindowPort {
public:
    explicit HighScoreWindowOpener(SoundPort& sound) : m_sound(sound) {}
    ~HighScoreWindowOpener() override;

    HighScoreWindowOpener(const HighScoreWindowOpener&) = delete;
    HighScoreWindowOpener& operator=(const HighScoreWindowOpener&) = delete;

    void showHighScores(const HighScoreTable& table) override;

    // The open window, or nothing.
    HighScoreWindow* window() const;

private:
    SoundPort& m_sound;
    QPointer<HighScoreWindow> m_window;
};

}  // namespace brightsum
