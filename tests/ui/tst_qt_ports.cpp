// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockPort.h"
#include "HeldKeyFilter.h"
#include "QtDialogs.h"
#include "QtEventPump.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace brightsum;

namespace {

// A clock that stands still, so the pump's decisions depend on events alone.
class StoppedClock final : public ClockPort {
public:
    explicit StoppedClock(double now) : m_now(now) {}
    double secondsSinceMidnight() const override { return m_now; }
    double monotonicSeconds() const override { return m_now; }

private:
    double m_now;
};

// Runs check on the modal dialog as soon as it is open.
void whenDialogOpens(std::function<void(QWidget*)> check) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, check] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            check(dialog);
        }
    });
    poll->start(10);
}

}  // namespace

class QtPortsTest : public QObject {
    Q_OBJECT

private slots:
    void pumpBlocksUntilAnEventOrItsDeadline();
    void messageHasTitleTextAndOkOnlyAndBlocksItsOwnerOnly();
    void promptStartsEmptyAndReturnsWhatWasTyped_data();
    void promptStartsEmptyAndReturnsWhatWasTyped();
    void heldKeyActsOnlyInTheWindowOfItsPress();
};

// The pump sleeps in the dispatcher, never spins, and returns once an event ran.
void QtPortsTest::pumpBlocksUntilAnEventOrItsDeadline() {
    StoppedClock clock(0);
    QtEventPump pump(clock);
    QSignalSpy blocked(QAbstractEventDispatcher::instance(),
                       &QAbstractEventDispatcher::aboutToBlock);
    bool ran = false;
    // With the deadline an hour away, only the event can end the call.
    QTimer::singleShot(0, this, [&ran] { ran = true; });
    pump.processEventsUntil(3600);
    QVERIFY(ran);

    // Nothing is pending: the call must wait in the dispatcher until its wake-up timer.
    QCoreApplication::processEvents();
    blocked.clear();
    pump.processEventsUntil(0.02);
    QVERIFY(!blocked.isEmpty());

    // Past its deadline it only dispatches what is pending.
    StoppedClock late(10);
    QtEventPump latePump(late);
    ran = false;
    QTimer::singleShot(0, this, [&ran] { ran = true; });
    blocked.clear();
    latePump.processEventsUntil(5);
    QVERIFY(ran);
    QCOMPARE(blocked.size(), 0);
}

void QtPortsTest::messageHasTitleTextAndOkOnlyAndBlocksItsOwnerOnly() {
    // The main window waits for the dialog; the high-score window beside it does not.
    QWidget owner;
    auto* ownerButton = new QPushButton(QStringLiteral("board"), &owner);
    owner.show();
    QPushButton other(QStringLiteral("Okay"));
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QSignalSpy ownerClicked(ownerButton, &QPushButton::clicked);
    QSignalSpy otherClicked(&other, &QPushButton::clicked);

    QtDialogs dialogs(&owner);
    bool checked = false;
    whenDialogOpens([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Game Over"));
        QCOMPARE(box->text(), QStringLiteral("Game over! Your final score is 5400."));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
        // Clicks through the window system, where modality applies.
        QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {},
                          ownerButton->mapTo(&owner, ownerButton->rect().center()));
        QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, other.rect().center());
        checked = true;
        box->buttons().first()->click();
    });
    dialogs.showMessage({MessageId::GameOver, 5400});
    QVERIFY(checked);
    QCOMPARE(ownerClicked.size(), 0);
    QCOMPARE(otherClicked.size(), 1);
}

void QtPortsTest::promptStartsEmptyAndReturnsWhatWasTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<std::optional<std::string>>("expected");
    QTest::newRow("a name") << "Ada" << true << std::optional<std::string>("Ada");
    QTest::newRow("letters beyond ASCII, as UTF-8")
        << QStringLiteral("Zoë Ørsted") << true
        << std::optional<std::string>("Zo\xc3\xab \xc3\x98rsted");
    QTest::newRow("nothing typed") << "" << true << std::optional<std::string>("");
    QTest::newRow("cancelled") << "Ada" << false << std::optional<std::string>();
}

void QtPortsTest::promptStartsEmptyAndReturnsWhatWasTyped() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(std::optional<std::string>, expected);
    QWidget owner;
    owner.show();
    QtDialogs dialogs(&owner);
    bool checked = false;
    whenDialogOpens([&](QWidget* dialog) {
        auto* prompt = qobject_cast<QInputDialog*>(dialog);
        QVERIFY(prompt);
        QCOMPARE(prompt->windowTitle(), QStringLiteral("High Score"));
        QCOMPARE(prompt->labelText(),
                 QStringLiteral("Congratulations! You got a High Score! Please enter your name."));
        auto* edit = prompt->findChild<QLineEdit*>();
        QVERIFY(edit);
        QCOMPARE(edit->text(), QString());
        auto* buttons = prompt->findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        edit->setText(typed);
        checked = true;
        buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    const auto name = dialogs.askText(MessageId::HighScorePrompt, {MessageId::FinalScore, 5400});
    QVERIFY(checked);
    QCOMPARE(name, expected);
}

// Return held on the board through the last right pair must not accept the name prompt that
// opens meanwhile (storing an empty name), nor its repeats close the window after it; a
// fresh press does. A key held in one window still repeats there.
void QtPortsTest::heldKeyActsOnlyInTheWindowOfItsPress() {
    HeldKeyFilter filter;
    qApp->installEventFilter(&filter);
    const auto repeat = [](QWidget* widget, Qt::Key key, const QString& text) {
        QTest::simulateEvent(widget, true, key, Qt::NoModifier, text, true);
    };

    QWidget board;
    auto* field = new QLineEdit(&board);
    board.show();
    QVERIFY(QTest::qWaitForWindowActive(&board));
    field->setFocus();
    QTest::keyPress(field, Qt::Key_A, Qt::NoModifier);
    repeat(field, Qt::Key_A, QStringLiteral("a"));
    repeat(field, Qt::Key_A, QStringLiteral("a"));
    QTest::keyRelease(field, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(field->text(), QStringLiteral("aaa"));

    QTest::keyPress(field, Qt::Key_Return, Qt::NoModifier);  // held from here on
    bool openAfterRepeats = false;
    whenDialogOpens([&](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>();
        QTest::keyClicks(name, QStringLiteral("Ada"));
        repeat(name, Qt::Key_Return, QStringLiteral("\r"));
        repeat(name, Qt::Key_Escape, QString());
        openAfterRepeats = dialog->isVisible();
        QTest::keyRelease(name, Qt::Key_Return, Qt::NoModifier);
        QTest::keyClick(name, Qt::Key_Return);
    });
    bool accepted = false;
    const QString typed =
        QInputDialog::getText(&board, QStringLiteral("High Score"), QStringLiteral("Name"),
                              QLineEdit::Normal, QString(), &accepted);
    QVERIFY(openAfterRepeats);
    QVERIFY(accepted);
    QCOMPARE(typed, QStringLiteral("Ada"));
}

QTEST_MAIN(QtPortsTest)
#include "tst_qt_ports.moc"
