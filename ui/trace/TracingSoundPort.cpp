// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracingSoundPort.h"

#include "TraceLog.h"

namespace brightsum {

void TracingSoundPort::PlaySoundCue(const std::string& file, CueMode mode) {
    const QString name = QString::fromStdString(file);
    trace::mark("cue", name);
    m_sound.PlaySoundCue(file, mode);
    if (mode == CueMode::Wait) {
        trace::mark("cue-end", name);
    }
}

}  // namespace brightsum
