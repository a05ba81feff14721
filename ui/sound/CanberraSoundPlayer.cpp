#include "CanberraSoundPlayer.h"

#include <utility>

namespace brightsum {

// Silent until the libcanberra back end is written.
CanberraSoundPlayer::CanberraSoundPlayer(std::filesystem::path programFolder)
    : m_programFolder(std::move(programFolder)) {}

CanberraSoundPlayer::~CanberraSoundPlayer() = default;

void CanberraSoundPlayer::PlaySoundCue(const std::string&, CueMode) {}

}  // namespace brightsum
