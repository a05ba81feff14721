// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraSoundPlayer.h"

#include "CueDescriptions.h"
#include "WaveFileInfo.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

namespace brightsum {

namespace {

using Clock = std::chrono::steady_clock;

// Every cue shares one id, so that cancelling it stops whatever cue still sounds.
constexpr std::uint32_t kCueId = 1;

// How long a waited cue may overrun its own length before the caller gives up on the
// server's report of its end.
constexpr std::chrono::milliseconds kGrace{1000};
// The theme's alert is not read from disk, so its length is an upper bound of our own.
constexpr std::chrono::milliseconds kAlertLength{2000};
// A file the server plays although its header makes no sense to us.
constexpr std::chrono::milliseconds kUnknownLength{5000};
// How long the player's end waits for the sound thread to close its connection; closing
// takes milliseconds unless the server hangs.
constexpr std::chrono::milliseconds kClosingLimit{500};

// Errors after which no sound at all can be heard, so the alert is not worth trying.
bool nothingCanPlay(int error) {
    return error == CA_ERROR_NOTAVAILABLE || error == CA_ERROR_NODRIVER ||
           error == CA_ERROR_DISCONNECTED || error == CA_ERROR_DISABLED ||
           error == CA_ERROR_STATE || error == CA_ERROR_FORKED;
}

}  // namespace

// The end of one cue, shared between the caller, the sound thread and libcanberra's
// callback, which may come on libcanberra's own thread, inside ca_context_cancel, or not at
// all.
struct CanberraSoundPlayer::Cue {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;

    void finish() {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        ended.notify_all();
    }

    bool hasFinished() {
        std::lock_guard lock(mutex);
        return finished;
    }

    void waitUntil(Clock::time_point deadline) {
        std::unique_lock lock(mutex);
        ended.wait_until(lock, deadline, [this] { return finished; });
    }
};

// What the caller hands to the sound thread. It holds only the newest cue not yet started:
// a newer one supersedes it, as it would cut it short once sounding. The lock is never held
// across a call of libcanberra, so handing over never waits on the server.
struct CanberraSoundPlayer::Queue {
    struct Request {
        std::filesystem::path file;
        std::string description;
        std::shared_ptr<Cue> cue;
        Clock::time_point handedOver;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Request> next;
    bool closing = false;  // the player has ended
    bool closed = false;   // the sound thread has let go of libcanberra

    void hand(Request request) {
        {
            std::lock_guard lock(mutex);
            if (next) {
                next->cue->finish();
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
                next->cue->finish();
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

// The sound thread's side: the libcanberra context and the cue it started last. Built, used
// and destroyed on the sound thread alone.
class CanberraSoundPlayer::Voice {
public:
    Voice() {
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return;
        }
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Brightsum", nullptr);
        // The icon is installed under the application id.
        ca_context_change_props(m_context, CA_PROP_APPLICATION_ID, BRIGHTSUM_APP_ID,
                                CA_PROP_APPLICATION_ICON_NAME, BRIGHTSUM_APP_ID, nullptr);
        // Connecting now keeps the first cue quick. Sounds are not preloaded. When no server
        // answers yet, each cue tries again by itself.
        ca_context_open(m_context);
    }

    ~Voice() {
        // Destroying the context reports every cue still sounding, which frees its state.
        if (m_context != nullptr) {
            ca_context_destroy(m_context);
        }
    }

    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    void play(const Queue::Request& request) {
        if (m_context == nullptr) {
            request.cue->finish();
            return;
        }
        if (m_current && !m_current->hasFinished()) {
            // The older cue's state stays alive until its cancelled callback has run.
            ca_context_cancel(m_context, kCueId);
        }
        m_current.reset();

        // A cue held up by a server that stalled until even a waiting caller would have given
        // up on it is dropped: sounding that late it would mark nothing that happens.
        const auto info = WaveFileInfo::read(request.file);
        const auto stale = [&request, length = info ? info->duration() : kUnknownLength] {
            return Clock::now() - request.handedOver > length + kGrace;
        };
        if (stale()) {
            request.cue->finish();
            return;
        }

        const int result = start(request, CA_PROP_MEDIA_FILENAME, request.file.c_str());
        // A proplist with both a file name and an event id plays the event even when the file
        // exists, so the alert is a second call of its own.
        if (result != CA_SUCCESS &&
            (nothingCanPlay(result) || start(request, CA_PROP_EVENT_ID, "bell") != CA_SUCCESS)) {
            request.cue->finish();
            return;
        }
        m_current = request.cue;
        if (stale()) {
            ca_context_cancel(m_context, kCueId);  // the server held up the start itself
        }
    }

private:
    int start(const Queue::Request& request, const char* property, const char* value) {
        ca_proplist* props = nullptr;
        if (ca_proplist_create(&props) != CA_SUCCESS) {
            return CA_ERROR_OOM;
        }
        // A file name goes over as the path's bytes, UTF-8 or not: libcanberra opens it itself.
        ca_proplist_sets(props, property, value);
        // The mixer lists a stream by its media name, which would otherwise be the path.
        if (!request.description.empty()) {
            ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, request.description.c_str());
            ca_proplist_sets(props, CA_PROP_MEDIA_NAME, request.description.c_str());
        }
        ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
        // The callback owns this reference; libcanberra calls it once for each cue it
        // accepted and never for one it refused.
        auto* ref = new std::shared_ptr<Cue>(request.cue);
        const int result = ca_context_play_full(m_context, kCueId, props, &cueFinished, ref);
        if (result != CA_SUCCESS) {
            delete ref;
        }
        ca_proplist_destroy(props);
        return result;
    }

    ca_context* m_context = nullptr;
    std::shared_ptr<Cue> m_current;  // the cue started last, until a newer one replaces it
};

CanberraSoundPlayer::CanberraSoundPlayer(std::filesystem::path programFolder)
    : m_programFolder(std::move(programFolder)),
      m_queue(std::make_shared<Queue>()),
      m_thread(&CanberraSoundPlayer::run, m_queue) {}

CanberraSoundPlayer::~CanberraSoundPlayer() {
    m_queue->close();
    if (m_queue->waitClosed(kClosingLimit)) {
        m_thread.join();  // at its very end already
    } else {
        // A hung server holds the thread inside libcanberra. Waiting for it would keep the
        // program from ending for as long as the server hangs, so the thread is left to end
        // by itself: it shares the queue, so it touches nothing of this player. When the
        // server answers, it closes its connection and ends; when the process ends first,
        // the thread ends with it.
        m_thread.detach();
    }
}

void CanberraSoundPlayer::run(const std::shared_ptr<Queue>& queue) {
    {
        // Connecting may take as long as a hung server stays silent; cues wait meanwhile.
        Voice voice;
        while (const auto request = queue->take()) {
            voice.play(*request);
        }
    }
    queue->markClosed();
}

void CanberraSoundPlayer::cueFinished(ca_context*, std::uint32_t, int, void* userdata) {
    std::unique_ptr<std::shared_ptr<Cue>> cue(static_cast<std::shared_ptr<Cue>*>(userdata));
    (*cue)->finish();
}

void CanberraSoundPlayer::PlaySoundCue(brightsum::Cue sound, CueMode mode) {
    const Clock::time_point handedOver = Clock::now();
    auto cue = std::make_shared<Cue>();
    const std::filesystem::path path = m_programFolder / cueFile(sound);
    m_queue->hand({path, cueDescription(sound), cue, handedOver});

    if (mode == CueMode::Wait) {
        // Only the file's header is read here: nothing that waits on the server. A file
        // without a usable header is played, if at all, as the alert.
        const auto info = WaveFileInfo::read(path);
        const std::chrono::microseconds length = info ? info->duration() : kAlertLength;
        // Blocks this thread without dispatching events; a server that never reports the end,
        // or never even starts the cue, only delays the caller by the grace period.
        cue->waitUntil(handedOver + length + kGrace);
    }
}

}  // namespace brightsum
