#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "SoundPort.h"

struct ca_context;

namespace brightsum {

// Plays the game's cues, wave files of the program folder, through libcanberra.
// One cue sounds at a time: a newer cue cuts an older one short. A file that is missing or
// cannot be played gives the desktop's alert sound instead; with no sound server the call
// returns at once. Call it from one thread only (the user-interface thread).
class CanberraSoundPlayer final : public SoundPort {
public:
    explicit CanberraSoundPlayer(std::filesystem::path programFolder);
    ~CanberraSoundPlayer() override;

    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void PlaySoundCue(const std::string& file, CueMode mode) override;

private:
    struct Cue;

    static void cueFinished(ca_context* context, std::uint32_t id, int error, void* userdata);
    int start(const std::shared_ptr<Cue>& cue, const char* property, const std::string& value);

    std::filesystem::path m_programFolder;
    ca_context* m_context = nullptr;
    std::shared_ptr<Cue> m_current;  // the cue started last, until a newer one replaces it
};

}  // namespace brightsum
