// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCursor;

namespace brightsum {

// The pointing hand shown over the About window's web address: 32 x 32, hot spot at the
// fingertip (12, 1).
QCursor handCursor();

}  // namespace brightsum
