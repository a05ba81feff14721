// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

#include <array>

class QLabel;

namespace brightsum {

// Tells a screen reader what happens, in words, without drawing anything: a status bar that is
// never shown holds a notification, and each message appears as the text of a label inside it.
// Screen readers speak a notification when it shows, wherever the keyboard focus is, and read
// the labels of a status bar's notification even when they are off screen (Orca 43 does both
// by design; it ignores a plain label whose text changes).
//
// A screen reader reads the words when it gets to the event, not when the event was sent: on a
// busy computer Orca runs a second or two behind, and it skips a state change of an object when
// a newer one of the same object waits behind it. So each message shows in a notification of
// its own, taken in turn from a ring of them, whose words stay until the ring comes round; and
// messages said in the same turn of the event loop are joined, in order, into one, which a
// screen reader then speaks whole instead of cutting the first short with the second.
class Announcer final : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void say(const QString& message);

    // The words of the last notification shown, and that notification.
    QString shown() const;
    QWidget* notification() const;

private:
    struct Notice {
        QWidget* notification = nullptr;
        QLabel* words = nullptr;
    };

    void showPending();

    std::array<Notice, 8> m_notices{};
    std::size_t m_last = 0;
    QStringList m_pending;
};

}  // namespace brightsum
