// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundCuePlayer.h"

#include "PlayingCue.h"
#include "SoundBackEnd.h"
#include "WaveFileInfo.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

namespace brightsum {

namespace {

using Clock = PlayingCue::Clock;

// How long a waited cue may overrun its own length before the caller gives up on the
// back end's report of its end.
constexpr std::chrono::milliseconds kGrace{1000};
// The alert is not read from disk, so its length is an upper bound of our own.
constexpr std::chrono::milliseconds kAlertLength{2000};
// A file the back end plays although its header makes no sense to us.
constexpr std::chrono::milliseconds kUnknownLength{5000};
// How long the player's end waits for the sound thread to let go of the back end; that takes
// milliseconds unless the sound service hangs.
constexpr std::chrono::milliseconds kClosingLimit{500};

// One cue handed to the sound thread.
struct Request {
    std::filesystem::path file;
    std::string description;
    std::shared_ptr<PlayingCue> cue;
    Clock::time_point handedOver;
};

// The sound thread's side of playing one cue.
void play(SoundBackEnd& backEnd, std::shared_ptr<PlayingCue>& current, const Request& request) {
    if (current && !current->hasEnded()) {
        backEnd.stop();  // the newer cue wins
    }
    current.reset();

    // A cue held up by a sound service that stalled until even a waiting caller would have
    // given up on it is dropped: sounding that late it would mark nothing that happens.
    const auto info = WaveFileInfo::read(request.file);
    const auto stale = [&request, length = info ? info->duration() : kUnknownLength] {
        return Clock::now() - request.handedOver > length + kGrace;
    };
    if (stale()) {
        request.cue->ended();
        return;
    }

    auto start = backEnd.playFile(request.file, request.description, request.cue);
    if (start == SoundBackEnd::Start::Refused) {
        start = backEnd.playAlert(request.description, request.cue);
    }
    if (start != SoundBackEnd::Start::Playing) {
        request.cue->ended();
        return;
    }
    current = request.cue;
    if (stale()) {
        backEnd.stop();  // the sound service held up the start itself
    }
}

}  // namespace

// What the caller hands to the sound thread. It holds only the newest cue not yet started:
// a newer one supersedes it, as it would cut it short once sounding. The lock is never held
// across a call of the back end, so handing over never waits on the sound service.
struct SoundCuePlayer::Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Request> next;
    bool closing = false;  // the player has ended
    bool closed = false;   // the sound thread has let go of the back end

    void hand(Request request) {
        {
            std::lock_guard lock(mutex);
            if (next) {
                next->cue->ended();
            }
            next = std::move(request);
        }
        changed.notify_all();
    }

    // The next cue to play; nothing once the player has ended.
    std::optional<Request> take() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return next.has_value() || closing; });
        if (closing) {
            return std::nullopt;
        }
        return std::exchange(next, std::nullopt);
    }

    void close() {
        {
            std::lock_guard lock(mutex);
            closing = true;
        }
        changed.notify_all();
    }

    void markClosed() {
        {
            std::lock_guard lock(mutex);
            closed = true;
            if (next) {
                next->cue->ended();
                next.reset();
            }
        }
        changed.notify_all();
    }

    bool waitClosed(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [this] { return closed; });
    }
};

SoundCuePlayer::SoundCuePlayer(std::filesystem::path programFolder, BackEndFactory makeBackEnd,
                               Describe describe)
    : m_programFolder(std::move(programFolder)),
      m_describe(std::move(describe)),
      m_queue(std::make_shared<Queue>()),
      m_thread(&SoundCuePlayer::run, m_queue, std::move(makeBackEnd)) {}

SoundCuePlayer::~SoundCuePlayer() {
    m_queue->close();
    if (m_queue->waitClosed(kClosingLimit)) {
        m_thread.join();  // at its very end already
    } else {
        // A hung sound service holds the thread inside the back end. Waiting for it would keep
        // the program from ending for as long as the service hangs, so the thread is left to
        // end by itself: it shares the queue, so it touches nothing of this player. When the
        // service answers, the thread lets go of it and ends; when the process ends first,
        // the thread ends with it.
        m_thread.detach();
    }
}

void SoundCuePlayer::run(const std::shared_ptr<Queue>& queue, const BackEndFactory& makeBackEnd) {
    {
        // Connecting may take as long as a hung sound service stays silent; cues wait meanwhile.
        const std::unique_ptr<SoundBackEnd> backEnd = makeBackEnd();
        std::shared_ptr<PlayingCue> current;  // the cue started last
        while (const auto request = queue->take()) {
            if (backEnd) {
                play(*backEnd, current, *request);
            } else {
                request->cue->ended();
            }
        }
    }
    queue->markClosed();
}

void SoundCuePlayer::PlaySoundCue(const std::string& file, CueMode mode) {
    const Clock::time_point handedOver = Clock::now();
    auto cue = std::make_shared<PlayingCue>();
    const std::filesystem::path path = m_programFolder / file;
    m_queue->hand({path, m_describe ? m_describe(file) : std::string(), cue, handedOver});

    if (mode == CueMode::Wait) {
        // Only the file's header is read here: nothing that waits on the sound service. A file
        // without a usable header is played, if at all, as the alert.
        const auto info = WaveFileInfo::read(path);
        const std::chrono::microseconds length = info ? info->duration() : kAlertLength;
        // Blocks this thread without dispatching events; a sound service that never reports
        // the end, or never even starts the cue, only delays the caller by the grace period.
        cue->waitUntil(handedOver + length + kGrace);
    }
}

}  // namespace brightsum
