#pragma once

#include <string>
#include <utility>
#include <vector>

#include "SoundPort.h"

namespace brightsum {

// A silent sound port that remembers every cue it was asked to play.
class RecordingSound final : public SoundPort {
public:
    void PlaySoundCue(const std::string& file, CueMode mode) override {
        cues.emplace_back(file, mode);
    }

    std::vector<std::pair<std::string, CueMode>> cues;
};

}  // namespace brightsum
