// SPDX-License-Identifier: GPL-3.0-or-later
#include "WinmmBackEnd.h"

#include "PlayingCue.h"

#include <windows.h>
// After windows.h, which it needs (the build defines WIN32_LEAN_AND_MEAN).
#include <mmsystem.h>

#include <chrono>
#include <optional>
#include <string>

namespace brightsum {

namespace {

using Clock = PlayingCue::Clock;

// The length taken for a plain beep, which the system does not tell: a waited cue is held
// no longer than this.
constexpr std::chrono::milliseconds kBeepLength{250};

// The wave file of the desktop's default sound (the event ".Default" of the sound scheme).
std::optional<WaveFile> defaultSound() {
    wchar_t file[MAX_PATH] = {};
    DWORD size = sizeof file;
    // Reads REG_EXPAND_SZ too, expanded: the usual scheme names %SystemRoot%\Media.
    if (::RegGetValueW(HKEY_CURRENT_USER, L"AppEvents\\Schemes\\Apps\\.Default\\.Default\\.Current",
                       nullptr, RRF_RT_REG_SZ, nullptr, file, &size) != ERROR_SUCCESS ||
        file[0] == L'\0') {
        return std::nullopt;
    }
    return WaveFile::open(file);
}

// Without a wave device no sound can be heard, the alert neither.
SoundBackEnd::Start notStarted() {
    return ::waveOutGetNumDevs() == 0 ? SoundBackEnd::Start::Unavailable
                                      : SoundBackEnd::Start::Refused;
}

}  // namespace

WinmmBackEnd::~WinmmBackEnd() {
    stop();
}

SoundBackEnd::Start WinmmBackEnd::playFile(const WaveFile& file, const std::string&,
                                           const std::shared_ptr<PlayingCue>& cue) {
    // The bytes of the cue before are let go only once nothing plays from them.
    stop();
    const WaveFile::Bytes& bytes = file.bytes();
    const auto started = Clock::now();
    if (!::PlaySoundW(reinterpret_cast<LPCWSTR>(bytes->data()), nullptr,
                      SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
        return notStarted();
    }
    m_sounding = bytes;
    m_cue = cue;
    cue->endsBy(started + file.info().duration());
    return Start::Playing;
}

SoundBackEnd::Start WinmmBackEnd::playAlert(const std::string& description,
                                            const std::shared_ptr<PlayingCue>& cue) {
    // The sound scheme's default sound, played as a cue: checked, of a known length, and cut
    // short by the next cue. Where it cannot be read, the system's beep: that same sound, or a
    // plain beep.
    if (const auto file = defaultSound()) {
        if (const Start start = playFile(*file, description, cue); start != Start::Refused) {
            return start;
        }
    }
    stop();
    if (!::MessageBeep(MB_OK)) {
        return notStarted();
    }
    cue->endsBy(Clock::now() + kBeepLength);
    m_cue = cue;
    return Start::Playing;
}

void WinmmBackEnd::stop() {
    if (m_cue || m_sounding) {
        // Returns once the sound has stopped, so its memory may go.
        ::PlaySoundW(nullptr, nullptr, 0);
    }
    if (m_cue) {
        m_cue->ended();
        m_cue.reset();
    }
    m_sounding.reset();
}

}  // namespace brightsum
