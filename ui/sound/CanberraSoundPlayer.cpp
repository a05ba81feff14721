#include "CanberraSoundPlayer.h"

#include "WaveFileInfo.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace brightsum {

namespace {

// Every cue shares one id, so that cancelling it stops whatever cue still sounds.
constexpr std::uint32_t kCueId = 1;

// How long a waited cue may overrun its own length before the caller gives up on the
// server's report of its end.
constexpr std::chrono::milliseconds kGrace{1000};
// The theme's alert is not read from disk, so its length is an upper bound of our own.
constexpr std::chrono::milliseconds kAlertLength{2000};
// A file the server plays although its header makes no sense to us.
constexpr std::chrono::milliseconds kUnknownLength{5000};

// Errors after which no sound at all can be heard, so the alert is not worth trying.
bool nothingCanPlay(int error) {
    return error == CA_ERROR_NOTAVAILABLE || error == CA_ERROR_NODRIVER ||
           error == CA_ERROR_DISCONNECTED || error == CA_ERROR_DISABLED ||
           error == CA_ERROR_STATE || error == CA_ERROR_FORKED;
}

}  // namespace

// The end of one cue, shared between the caller and libcanberra's callback, which may come
// on libcanberra's thread, inside ca_context_cancel, or not at all.
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

    void waitAtMost(std::chrono::microseconds limit) {
        std::unique_lock lock(mutex);
        ended.wait_for(lock, limit, [this] { return finished; });
    }
};

CanberraSoundPlayer::CanberraSoundPlayer(std::filesystem::path programFolder)
    : m_programFolder(std::move(programFolder)) {
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        return;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Brightsum", nullptr);
#ifdef BRIGHTSUM_APP_ID
    // The icon is installed under the application id.
    ca_context_change_props(m_context, CA_PROP_APPLICATION_ID, BRIGHTSUM_APP_ID,
                            CA_PROP_APPLICATION_ICON_NAME, BRIGHTSUM_APP_ID, nullptr);
#endif
    // Connecting now keeps the first cue quick. Sounds are not preloaded: start-up matters
    // more. When no server answers yet, each cue tries again by itself.
    ca_context_open(m_context);
}

CanberraSoundPlayer::~CanberraSoundPlayer() {
    // Destroying the context reports every cue still sounding, which frees its state.
    if (m_context != nullptr) {
        ca_context_destroy(m_context);
    }
}

void CanberraSoundPlayer::cueFinished(ca_context*, std::uint32_t, int, void* userdata) {
    std::unique_ptr<std::shared_ptr<Cue>> cue(static_cast<std::shared_ptr<Cue>*>(userdata));
    (*cue)->finish();
}

int CanberraSoundPlayer::start(const std::shared_ptr<Cue>& cue, const char* property,
                               const std::string& value) {
    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) {
        return CA_ERROR_OOM;
    }
    ca_proplist_sets(props, property, value.c_str());
    // The callback owns this reference; libcanberra calls it once for each cue it accepted
    // and never for one it refused.
    auto* ref = new std::shared_ptr<Cue>(cue);
    const int result = ca_context_play_full(m_context, kCueId, props, &cueFinished, ref);
    if (result != CA_SUCCESS) {
        delete ref;
    }
    ca_proplist_destroy(props);
    return result;
}

void CanberraSoundPlayer::PlaySoundCue(const std::string& file, CueMode mode) {
    if (m_context == nullptr) {
        return;
    }
    if (m_current && !m_current->hasFinished()) {
        // The older cue's state stays alive until its cancelled callback has run.
        ca_context_cancel(m_context, kCueId);
    }
    m_current.reset();

    const std::filesystem::path path = m_programFolder / file;
    auto cue = std::make_shared<Cue>();
    std::chrono::microseconds length = kUnknownLength;

    const int result = start(cue, CA_PROP_MEDIA_FILENAME, path.string());
    if (result == CA_SUCCESS) {
        if (mode == CueMode::Wait) {
            if (const auto info = WaveFileInfo::read(path)) {
                length = info->duration();
            }
        }
    } else {
        // A proplist with both a file name and an event id plays the event even when the
        // file exists, so the alert is a second call of its own.
        if (nothingCanPlay(result) || start(cue, CA_PROP_EVENT_ID, "bell") != CA_SUCCESS) {
            return;
        }
        length = kAlertLength;
    }
    m_current = cue;

    if (mode == CueMode::Wait) {
        // Blocks this thread without dispatching events; a server that never reports the
        // end only delays the caller by the grace period.
        cue->waitAtMost(length + kGrace);
    }
}

}  // namespace brightsum
