// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace brightsum {

// Modal dialogs; events keep being dispatched while they wait for the player.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // A message with an OK button and no icon.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    // A one-line prompt, empty at first; nothing when the player cancels or closes it.
    virtual std::optional<std::string> askText(const std::string& title,
                                               const std::string& text) = 0;
};

}  // namespace brightsum
