#pragma once

#include <filesystem>
#include <string>

#include "SoundPort.h"

namespace brightsum {

// Plays the game's cues, wave files of the program folder, through libcanberra.
class CanberraSoundPlayer final : public SoundPort {
public:
    explicit CanberraSoundPlayer(std::filesystem::path programFolder);
    ~CanberraSoundPlayer() override;

    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void PlaySoundCue(const std::string& file, CueMode mode) override;

private:
    std::filesystem::path m_programFolder;
};

}  // namespace brightsum
