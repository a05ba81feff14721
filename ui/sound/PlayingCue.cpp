// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlayingCue.h"

#include <algorithm>

namespace brightsum {

void PlayingCue::ended() {
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

void PlayingCue::endsBy(Clock::time_point when) {
    {
        std::lock_guard lock(m_mutex);
        m_endsBy = when;
    }
    m_changed.notify_all();
}

bool PlayingCue::hasEnded() const {
    std::lock_guard lock(m_mutex);
    return endedLocked(Clock::now());
}

bool PlayingCue::endedLocked(Clock::time_point now) const {
    return m_ended || (m_endsBy && *m_endsBy <= now);
}

void PlayingCue::waitUntil(Clock::time_point deadline) const {
    std::unique_lock lock(m_mutex);
    while (!endedLocked(Clock::now())) {
        // endsBy() may move the end closer while this waits; it notifies.
        const auto until = m_endsBy ? std::min(deadline, *m_endsBy) : deadline;
        if (m_changed.wait_until(lock, until) == std::cv_status::timeout && until == deadline) {
            return;
        }
    }
}

}  // namespace brightsum
