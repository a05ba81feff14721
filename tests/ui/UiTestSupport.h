#pragma once

#include "SoundPort.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

namespace brightsum {

// A silent sound port that remembers every cue it was asked to play.
class RecordingSound final : public SoundPort {
public:
    void PlaySoundCue(const std::string& file, CueMode mode) override {
        cues.emplace_back(file, mode);
    }

    std::vector<std::pair<std::string, CueMode>> cues;
};

// Whether the window's outer frame, not just its client area, is centred on its screen.
inline bool centredOnScreen(const QWidget* window) {
    const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
    return qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
}

template <typename T>
QList<T*> visibleWindows() {
    QList<T*> out;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible()) {
            out << window;
        }
    }
    return out;
}

}  // namespace brightsum
