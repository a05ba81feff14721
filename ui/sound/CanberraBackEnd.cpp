// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraBackEnd.h"

#include "PlayingCue.h"
#include "WaveFile.h"

#include <canberra.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace brightsum {

namespace {

// Every cue shares one id, so that cancelling it stops whatever cue still sounds.
constexpr std::uint32_t kCueId = 1;

// Errors after which no sound at all can be heard, so the alert is not worth trying.
bool nothingCanPlay(int error) {
    return error == CA_ERROR_NOTAVAILABLE || error == CA_ERROR_NODRIVER ||
           error == CA_ERROR_DISCONNECTED || error == CA_ERROR_DISABLED ||
           error == CA_ERROR_STATE || error == CA_ERROR_FORKED;
}

// The name of a file's sample in the server's cache, which every program on the server
// shares: a hash of what tells this file and its contents apart (a file rewritten or
// replaced gets a new name), and of the description the sample carries to the mixer. No
// dash: libcanberra would look a shorter name up in the sound theme.
std::string sampleName(int descriptor, const std::string& description) {
    struct stat status {};
    ::fstat(descriptor, &status);
    std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a
    const auto add = [&hash](const void* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            hash = (hash ^ static_cast<const unsigned char*>(bytes)[i]) * 0x100000001b3;
        }
    };
    for (const auto value :
         {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::uint64_t(status.st_size),
          std::uint64_t(status.st_mtim.tv_sec), std::uint64_t(status.st_mtim.tv_nsec),
          std::uint64_t(status.st_ctim.tv_sec), std::uint64_t(status.st_ctim.tv_nsec)}) {
        add(&value, sizeof value);
    }
    add(description.data(), description.size());
    char name[32];
    std::snprintf(name, sizeof name, "brightsum_%016llx", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

CanberraBackEnd::CanberraBackEnd() {
    connect();
}

void CanberraBackEnd::connect() {
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        return;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Brightsum", nullptr);
    // The icon is installed under the application id.
    ca_context_change_props(m_context, CA_PROP_APPLICATION_ID, BRIGHTSUM_APP_ID,
                            CA_PROP_APPLICATION_ICON_NAME, BRIGHTSUM_APP_ID, nullptr);
    // Connecting now keeps the first cue quick. When no server answers yet, each cue tries
    // again by itself.
    ca_context_open(m_context);
}

CanberraBackEnd::~CanberraBackEnd() {
    if (m_context == nullptr) {
        return;
    }
    int playing = 0;
    if (ca_context_playing(m_context, kCueId, &playing) == CA_SUCCESS && playing != 0) {
        // A cue played from the server's cache is the server's own stream, which closing the
        // connection does not end: cancel it, and give the cancellation a moment to leave
        // before the connection closes, or the cue plays out after the program has ended.
        ca_context_cancel(m_context, kCueId);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ca_context_destroy(m_context);
}

SoundBackEnd::Start CanberraBackEnd::playFile(const WaveFile& file, const std::string& description,
                                              const std::shared_ptr<PlayingCue>& cue) {
    // libcanberra opens the file itself, by name, while it starts the cue. The name of the
    // descriptor that the checks opened gives it that same file, never a FIFO or a device
    // put in its place since; the path, as its bytes, UTF-8 or not, where there is no /proc.
    const std::string opened = "/proc/self/fd/" + std::to_string(file.descriptor());
    const std::string& name = ::access(opened.c_str(), R_OK) == 0 ? opened : file.path().native();
    // Played from the server's sample cache, a cue starts without a stream of its own to set
    // up: under PipeWire that setup is most of the time a click waits for. The first play of
    // each file uploads it, under a name of that very file's contents and description.
    const std::string sample = sampleName(file.descriptor(), description);
    const Start cached = start({{CA_PROP_EVENT_ID, sample.c_str()},
                                {CA_PROP_MEDIA_FILENAME, name.c_str()},
                                {CA_PROP_CANBERRA_CACHE_CONTROL, "permanent"}},
                               description, cue);
    if (cached != Start::Refused) {
        return cached;
    }
    // A server without a sample cache, or one that refuses this sample, may still stream it.
    return start({{CA_PROP_MEDIA_FILENAME, name.c_str()}}, description, cue);
}

SoundBackEnd::Start CanberraBackEnd::playAlert(const std::string& description,
                                               const std::shared_ptr<PlayingCue>& cue) {
    // A proplist with both a file name and an event id plays the event even when the file
    // exists, so the alert is a call of its own.
    return start({{CA_PROP_EVENT_ID, "bell"}, {CA_PROP_CANBERRA_CACHE_CONTROL, "permanent"}},
                 description, cue);
}

void CanberraBackEnd::stop() {
    if (m_context != nullptr) {
        // The older cue's state stays alive until its cancelled callback has run.
        ca_context_cancel(m_context, kCueId);
    }
}

SoundBackEnd::Start CanberraBackEnd::start(Properties properties, const std::string& description,
                                           const std::shared_ptr<PlayingCue>& cue) {
    if (m_context == nullptr) {
        connect();
    }
    int result = play(properties, description, cue);
    if (result == CA_ERROR_STATE || result == CA_ERROR_DISCONNECTED) {
        // The server this context reached has gone (restarted, say), and libcanberra gives
        // up on it for good. A new context reaches the one that replaced it, or finds none:
        // one try a cue, never a loop, so no server means no work.
        ca_context_destroy(m_context);
        connect();
        result = play(properties, description, cue);
    }
    if (result == CA_SUCCESS) {
        return Start::Playing;
    }
    return nothingCanPlay(result) ? Start::Unavailable : Start::Refused;
}

int CanberraBackEnd::play(Properties properties, const std::string& description,
                          const std::shared_ptr<PlayingCue>& cue) {
    if (m_context == nullptr) {
        return CA_ERROR_NOTAVAILABLE;
    }
    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) {
        return CA_ERROR_OOM;
    }
    for (const auto& [property, value] : properties) {
        ca_proplist_sets(props, property, value);
    }
    // The mixer lists a stream by its media name, which would otherwise be the path.
    if (!description.empty()) {
        ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, description.c_str());
        ca_proplist_sets(props, CA_PROP_MEDIA_NAME, description.c_str());
    }
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    // The callback owns this reference; libcanberra calls it once for each cue it accepted
    // and never for one it refused.
    auto* ref = new std::shared_ptr<PlayingCue>(cue);
    const int result = ca_context_play_full(m_context, kCueId, props, &cueFinished, ref);
    if (result != CA_SUCCESS) {
        delete ref;
    }
    ca_proplist_destroy(props);
    return result;
}

void CanberraBackEnd::cueFinished(ca_context*, std::uint32_t, int, void* userdata) {
    std::unique_ptr<std::shared_ptr<PlayingCue>> cue(
        static_cast<std::shared_ptr<PlayingCue>*>(userdata));
    (*cue)->ended();
}

}  // namespace brightsum
