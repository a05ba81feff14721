// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace brightsum;

class AnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    void messagesOfOneTurnAreHeardTogetherInOrder();
    void aStatusBarNotificationThatIsNeverDrawn();
    void wordsWaitForASlowScreenReader();
};

// A screen reader reads the notification's words when the event arrives, not when it was sent:
// a second message shown at once would replace the first before it was heard.
void AnnouncerTest::messagesOfOneTurnAreHeardTogetherInOrder() {
    QWidget window;
    Announcer announcer(&window);

    announcer.say(QStringLiteral("You picked 12."));
    announcer.say(QString());
    announcer.say(QStringLiteral("Right! 1000 points."));
    QCOMPARE(announcer.shown(), QString());
    QCoreApplication::processEvents();
    QCOMPARE(announcer.shown(), QStringLiteral("You picked 12. Right! 1000 points."));

    // A later turn is a message of its own.
    announcer.say(QStringLiteral("Time is up."));
    QCoreApplication::processEvents();
    QCOMPARE(announcer.shown(), QStringLiteral("Time is up."));
}

// Orca speaks a notification that shows, and reads the labels of one inside a status bar
// although they are off screen; the player sees nothing of it.
void AnnouncerTest::aStatusBarNotificationThatIsNeverDrawn() {
    QWidget window;
    auto* board = new QWidget(&window);
    Announcer announcer(board);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    announcer.say(QStringLiteral("Make 17 with plus."));
    QCoreApplication::processEvents();

    QAccessibleInterface* notification =
        QAccessible::queryAccessibleInterface(announcer.notification());
    QCOMPARE(notification->role(), QAccessible::Notification);
    QCOMPARE(notification->text(QAccessible::Name), QString());
    QCOMPARE(notification->childCount(), 1);
    QCOMPARE(notification->child(0)->role(), QAccessible::StaticText);
    QCOMPARE(notification->child(0)->text(QAccessible::Name), QStringLiteral("Make 17 with plus."));
    QAccessibleInterface* statusBar = notification->parent();
    QCOMPARE(statusBar->role(), QAccessible::StatusBar);
    QCOMPARE(statusBar->parent()->object(), board);
    QVERIFY(statusBar->state().invisible);

    QVERIFY(!announcer.isVisible());
    for (const QWidget* part : announcer.findChildren<QWidget*>()) {
        QVERIFY(!part->isVisible());
    }
}

// Orca reads a notification's words when it gets to the event, a second or two late on a busy
// computer, and skips an older change of the same object: each message needs words of its own
// that the next message leaves alone.
void AnnouncerTest::wordsWaitForASlowScreenReader() {
    QWidget window;
    Announcer announcer(&window);
    QList<QWidget*> shownIn;
    for (const QString& message : {QStringLiteral("Question 3. Make 17 with plus."),
                                   QStringLiteral("You picked 12."), QStringLiteral("Right!")}) {
        announcer.say(message);
        QCoreApplication::processEvents();
        shownIn.append(announcer.notification());
    }
    QCOMPARE(QSet<QWidget*>(shownIn.begin(), shownIn.end()).size(), 3);
    const auto words = [](QWidget* notification) {
        return QAccessible::queryAccessibleInterface(notification)
            ->child(0)
            ->text(QAccessible::Name);
    };
    QCOMPARE(words(shownIn[0]), QStringLiteral("Question 3. Make 17 with plus."));
    QCOMPARE(words(shownIn[1]), QStringLiteral("You picked 12."));
    QCOMPARE(words(shownIn[2]), QStringLiteral("Right!"));
}

QTEST_MAIN(AnnouncerTest)
#include "tst_announcer.moc"
