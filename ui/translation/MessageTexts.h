// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace brightsum {

struct Message;

// The words of the game's messages in the installed language, with their numbers in place.
QString messageText(const Message& message);
// The title of the dialog that shows a message; empty for a message that is only spoken.
QString messageTitle(const Message& message);

}  // namespace brightsum
