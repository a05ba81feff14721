// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMessageBox;
class QString;

namespace brightsum {

// Tells the player that a page could not be opened. The note is modeless and has no owner: a
// modal box would stop the game's clock from the menu handler.
class OpenFailureNotice {
public:
    static QMessageBox* show(const QString& message);
};

}  // namespace brightsum
