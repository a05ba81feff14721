// SPDX-License-Identifier: GPL-3.0-or-later
#include "CueDescriptions.h"

#include <QCoreApplication>

namespace brightsum {

std::string cueDescription(Cue cue) {
    return QCoreApplication::translate(kCueDescriptionContext, cueInfo(cue).description)
        .toStdString();
}

}  // namespace brightsum
