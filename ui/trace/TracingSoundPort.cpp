// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracingSoundPort.h"

#include "TraceLog.h"

namespace brightsum {

void TracingSoundPort::PlaySoundCue(Cue cue, CueMode mode) {
    // Marked by the file's name, which the benchmark looks for.
    const std::string_view file = cueFile(cue);
    const QString name = QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
    trace::mark("cue", name);
    m_sound.PlaySoundCue(cue, mode);
    if (mode == CueMode::Wait) {
        trace::mark("cue-end", name);
    }
}

}  // namespace brightsum
