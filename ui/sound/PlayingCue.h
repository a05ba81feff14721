// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace brightsum {

// The end of one cue, shared by the caller that may wait for it, the sound thread and the back
// end, which may report it on a thread of its own, inside a call of its own, or never.
class PlayingCue {
public:
    using Clock = std::chrono::steady_clock;

    // The cue has stopped sounding: played out, cut short, or failed once started. Any thread;
    // a second report changes nothing.
    void ended();
    // For a system that reports no end: the cue will have ended by then.
    void endsBy(Clock::time_point when);

    bool hasEnded() const;
    // Returns once the cue has ended, or at the deadline.
    void waitUntil(Clock::time_point deadline) const;

private:
    bool endedLocked(Clock::time_point now) const;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_ended = false;
    std::optional<Clock::time_point> m_endsBy;
};

}  // namespace brightsum
