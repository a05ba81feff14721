// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundBackEnd.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

struct ca_context;

namespace brightsum {

// Plays the cues through libcanberra, which reaches the desktop's sound server. Each call may
// block for as long as a hung server stays silent (SoundBackEnd).
class CanberraBackEnd final : public SoundBackEnd {
public:
    CanberraBackEnd();
    // Cuts short the cue still sounding; destroying the context reports it.
    ~CanberraBackEnd() override;

    CanberraBackEnd(const CanberraBackEnd&) = delete;
    CanberraBackEnd& operator=(const CanberraBackEnd&) = delete;

    Start playFile(const WaveFile& file, const std::string& description,
                   const std::shared_ptr<PlayingCue>& cue) override;
    Start playAlert(const std::string& description,
                    const std::shared_ptr<PlayingCue>& cue) override;
    void stop() override;

private:
    static void cueFinished(ca_context* context, std::uint32_t id, int error, void* userdata);

    // What to play, as libcanberra's properties and their values.
    using Properties = std::initializer_list<std::pair<const char*, const char*>>;

    void connect();
    Start start(Properties properties, const std::string& description,
                const std::shared_ptr<PlayingCue>& cue);
    // libcanberra's result of one try.
    int play(Properties properties, const std::string& description,
             const std::shared_ptr<PlayingCue>& cue);

    ca_context* m_context = nullptr;
};

}  // namespace brightsum
