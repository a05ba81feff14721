// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundCuePlayer.h"

#include "PlayingCue.h"
#include "SoundBackEnd.h"
#include "WaveFile.h"

#include <algorithm>
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
// The longest a waited cue holds the caller, whatever its file claims or the sound service
// does. A click sound lasts well under a second (the game's own, 55 ms), so it plays whole
// and still has its grace for a late report of its end; a longer file is cut short by the
// next cue, and the board is never held longer than this.
constexpr std::chrono::milliseconds kWaitLimit{2000};
// The alert is not read from disk, so its length is an upper bound of our own.
constexpr std::chrono::milliseconds kAlertLength{2000};
// How long the player's end waits for the sound thread to let go of the back end; that takes
// milliseconds unless the sound service hangs.
constexpr std::chrono::milliseconds kClosingLimit{500};

// How long a caller waits for a cue that was handed over at `from`.
Clock::time_point waitEnd(const std::optional<WaveFile>& file, Clock::time_point from) {
    const std::chrono::microseconds length = file ? file->info().duration() : kAlertLength;
    return from + std::min<Clock::duration>(length + kGrace, kWaitLimit);
}

// One cue handed to the sound thread: its file, or nothing where the alert stands in.
struct Request {
    std::optional<WaveFile> file;
    std::string description;
    std::shared_ptr<PlayingCue> cue;
    Clock::time_point givenUpAt;  // when even a waiting caller would have given up on it
};

// The sound thread's side of playing one cue.
void play(SoundBackEnd& backEnd, std::shared_ptr<PlayingCue>& current, const Request& request) {
    if (current && !current->hasEnded()) {
        backEnd.stop();  // the newer cue wins
    }
    current.reset();

    // A cue held up by a sound service that stalled until even a waiting caller would have
    // given up on it is dropped: sounding that late it would mark nothing that happens.
    const auto stale = [&request] { return Clock::now() > request.givenUpAt; };
    if (stale()) {
        request.cue->ended();
        return;
    }

    auto start = request.file ? backEnd.playFile(*request.file, request.description, request.cue)
                              : SoundBackEnd::Start::Refused;
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

void SoundCuePlayer::PlaySoundCue(Cue sound, CueMode mode) {
    const Clock::time_point handedOver = Clock::now();
    auto cue = std::make_shared<PlayingCue>();
    // Only the file's header is read here (on Windows the whole file, at most WaveFile::kMaxBytes),
    // and opening it never waits: nothing that waits on the sound service, a FIFO or a pipe.
    // A file that is no sane wave file sounds the alert.
    std::optional<WaveFile> wave = WaveFile::open(m_programFolder / cueFile(sound));
    const Clock::time_point end = waitEnd(wave, handedOver);
    m_queue->hand({std::move(wave), m_describe ? m_describe(sound) : std::string(), cue, end});

    if (mode == CueMode::Wait) {
        // Blocks this thread without dispatching events; a sound service that never reports
        // the end, or never even starts the cue, only delays the caller by the grace period.
        cue->waitUntil(end);
    }
}

}  // namespace brightsum
