// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

namespace brightsum {

// Tells a screen reader what happens, in words, without drawing anything: a status bar that is
// never shown holds a notification, and each message appears as the text of a label inside it.
// Screen readers speak a notification when it shows, wherever the keyboard focus is, and read
// the labels of a status bar's notification even when they are off screen (Orca 43 does both
// by design; it ignores a plain label whose text changes).
//
// A screen reader reads the label when the event reaches it, not when it was sent, so a second
// message sent at once would replace the first before it was heard. Messages said in the same
// turn of the event loop are therefore joined, in order, and shown once, at the next turn.
class Announcer final : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void say(const QString& message);

    // The words of the last notification shown.
    QString shown() const;
    QWidget* notification() const { return m_notification; }

private:
    void showPending();

    QWidget* m_notification = nullptr;
    QLabel* m_words = nullptr;
    QStringList m_pending;
};

}  // namespace brightsum
