// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

namespace brightsum {

// A key held down acts only in the window that received its press. Without this, Return held
// on the board through the last right pair picks on, then accepts the name prompt that opens
// with an empty name, then closes the high-score window at once. The key's repeats are kept
// from any other window (and from that window's shortcuts); a fresh press acts as usual.
// Installed on the application.
class HeldKeyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // For each key held down, the window that received its press; a key held since before
    // the program had the keyboard has none.
    QHash<int, QPointer<QWidget>> m_pressedIn;
};

}  // namespace brightsum
