// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"

#include <optional>
#include <string>

namespace brightsum {

// Modal dialogs; events keep being dispatched while they wait for the player. The message
// gives the dialog its title and its text.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // A message with an OK button and no icon.
    virtual void showMessage(const Message& message) = 0;
    // A one-line prompt, empty at first; nothing when the player cancels or closes it. A screen
    // reader hears `heard` with it, which the prompt does not show: a message told just before
    // the prompt opens would be cut off by the screen reader reading the prompt.
    virtual std::optional<std::string> askText(const Message& message, const Message& heard) = 0;
};

}  // namespace brightsum
