// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogPort.h"

class QWidget;

namespace brightsum {

// The game's modal dialogs, modal to the main window only, so that an open high-score
// window stays usable.
class QtDialogs final : public DialogPort {
public:
    explicit QtDialogs(QWidget* owner) : m_owner(owner) {}

    void showMessage(const Message& message) override;
    std::optional<std::string> askText(const Message& message, const Message& heard) override;

private:
    QWidget* m_owner;
};

}  // namespace brightsum
