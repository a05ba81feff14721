// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"
#include "BoardButton.h"
#include "MainWindow.h"
#include "WidgetTestSupport.h"
#include "WindowLayout.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <iterator>

using namespace brightsum;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutSampleAndEnlarging();
    void creationState();
    void fontsAndNoClippedCaption_data();
    void fontsAndNoClippedCaption();
    void menusCaptionsAndAccessKeys();
    void keyboardRouteToTheHelpMenu();
    void boardButtonsArePaintedFlatInTheirColour();
    void aChangedButtonRepaintsAlone();
    void tabWalksTheBoardInOrder();
    void accessibleNamesAndDescriptions();
    void aPickedButtonIsACheckedPushButton();
};

void MainWindowTest::layoutSampleAndEnlarging() {
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* client = form.centralWidget();
    // A sample of places converted by hand from the window's twip layout (15 twips a pixel).
    const std::pair<const char*, QRect> places[] = {
        {"lblPart1", {112, 8, 57, 33}},        {"lblEqual", {312, 8, 25, 33}},
        {"Label2", {144, 48, 97, 17}},         {"lblLevel", {456, 48, 33, 17}},
        {"Cmd_Number_0", {16, 72, 73, 33}},    {"Cmd_Number_7", {96, 112, 73, 33}},
        {"Cmd_Number_35", {416, 272, 73, 33}}, {"cmdStart", {208, 312, 97, 25}},
    };
    for (const auto& [name, place] : places) {
        auto* control =
            client->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        QVERIFY2(control, name);
        QCOMPARE(control->geometry(), place);
    }
    QCOMPARE(client->size(), QSize(506, 350));
    QCOMPARE(client->y(), form.menuBar()->geometry().bottom() + 1);

    // A larger window only uncovers more light yellow; nothing moves.
    form.resize(form.width() + 100, form.height() + 80);
    QTRY_COMPARE(client->size(), QSize(606, 430));
    QCOMPARE(form.numberButton(35)->geometry(), QRect(416, 272, 73, 33));
    const QImage image = client->grab().toImage();
    for (const QPoint point : {QPoint(3, 340), QPoint(590, 420), QPoint(500, 100)}) {
        QCOMPARE(image.pixelColor(point), QColor(255, 255, 192));
    }
}

void MainWindowTest::creationState() {
    MainWindow form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Brightsum"));

    const std::pair<const char*, const char*> texts[] = {
        {"lblPart1", "Label1"},    {"lblOper", "Label1"},         {"lblPart2", "Label2"},
        {"lblEqual", "="},         {"lblAnswer", "Label1"},       {"Label1", "Total Points:"},
        {"lblScore", "0"},         {"Label2", "Question Value:"}, {"lblPoints", "1000"},
        {"Label4", "Question #:"}, {"lblQuestionNumber", "1"},    {"Label3", "Level:"},
        {"lblLevel", "1"},
    };
    for (const auto& [name, text] : texts) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QString::fromLatin1(text));
    }
    QCOMPARE(form.findChildren<BoardButton*>().size(), 36);
    for (int i = 0; i < kBoardButtons; ++i) {
        QCOMPARE(form.numberButton(i)->text(), QStringLiteral("0"));
        QCOMPARE(form.numberButton(i)->colour(), QColor(Qt::white));
    }

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* start = form.findChild<QPushButton*>(QStringLiteral("cmdStart"));
    QVERIFY(start);
    QCOMPARE(start->text(), QStringLiteral("New Game"));
    QVERIFY(!start->isVisible());

    // The question clock must not be rounded to whole seconds.
    const auto timer = [&form](Timer id) {
        const QTimer* t = form.timer(id);
        return QStringLiteral("%1 %2 ms%3%4")
            .arg(t->objectName())
            .arg(t->interval())
            .arg(t->isActive() ? " active" : "")
            .arg(t->timerType() == Qt::PreciseTimer ? " precise" : "");
    };
    QCOMPARE(timer(Timer::tmrCounter), QStringLiteral("tmrCounter 23000 ms precise"));
    QCOMPARE(timer(Timer::tmrPoints), QStringLiteral("tmrPoints 1000 ms precise"));
    QCOMPARE(timer(Timer::tmrInit), QStringLiteral("tmrInit 200 ms active"));
}

void MainWindowTest::fontsAndNoClippedCaption_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    // Besides the creation texts, the widest text each control shows during a game; the
    // question line's creation texts are replaced before the window is first shown.
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("lblPart1") << "lblPart1" << 24.0 << false << QStringList{"?", "74"};
    QTest::newRow("lblEqual") << "lblEqual" << 24.0 << false << QStringList{"="};
    QTest::newRow("lblAnswer") << "lblAnswer" << 24.0 << false << QStringList{"?", "73"};
    QTest::newRow("Label1") << "Label1" << 8.25 << true << QStringList{"Total Points:"};
    QTest::newRow("lblScore") << "lblScore" << 8.25 << true << QStringList{"10000"};
    QTest::newRow("Label2") << "Label2" << 8.25 << true << QStringList{"Question Value:"};
    QTest::newRow("lblPoints") << "lblPoints" << 8.25 << true << QStringList{"1000", "-50"};
    QTest::newRow("Label4") << "Label4" << 8.25 << true << QStringList{"Question #:"};
    QTest::newRow("Label3") << "Label3" << 8.25 << true << QStringList{"Level:"};
    QTest::newRow("board button") << "Cmd_Number_0" << 13.5 << true << QStringList{"74", "88"};
    QTest::newRow("cmdStart") << "cmdStart" << 8.25 << false << QStringList{"New Game"};
}

void MainWindowTest::fontsAndNoClippedCaption() {
    QFETCH(QString, name);
    QFETCH(QStringList, texts);
    MainWindow form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    const QFont font = control->font();
    QTEST(font.pointSizeF(), "points");
    QTEST(font.bold(), "bold");
    // The designed face is missing or bitmap-only; a stand-in with its metrics takes its place.
    const QString drawnIn = QFontInfo(font).family();
    QVERIFY2(std::ranges::find(layout::kStandInFaces, drawnIn.toStdString()) !=
                 std::end(layout::kStandInFaces),
             qPrintable(drawnIn));

    const QFontMetrics metrics(font);
    const bool isLabel = qobject_cast<QLabel*>(control) != nullptr;
    const int margin = isLabel ? 0 : 4;  // buttons lose a little to their frame
    for (const QString& text : texts) {
        QVERIFY2(metrics.horizontalAdvance(text) <= control->width() - margin, qPrintable(text));
        // Labels draw from their top edge: the ink must end above the bottom edge.
        const int bottom = isLabel ? metrics.ascent() + metrics.tightBoundingRect(text).bottom()
                                   : metrics.height() - 1;
        QVERIFY2(bottom < control->height() - margin, qPrintable(text));
    }
}

void MainWindowTest::menusCaptionsAndAccessKeys() {
    MainWindow form;
    const QList<QAction*> bar = form.menuBar()->actions();
    const auto captions = [](const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* action : actions) {
            // No entry has a shortcut key or a check mark.
            out << action->objectName() + QLatin1Char('=') + action->text() +
                       action->shortcut().toString() + (action->isCheckable() ? "[x]" : "");
        }
        return out;
    };
    QCOMPARE(captions(bar), (QStringList{"mnuAddition=&Addition", "mnuSub=&Subtraction",
                                         "mnuhiscore=&High Scores", "mnuhelp=&Help"}));
    // High Scores is a command on the bar itself.
    QVERIFY(!bar[2]->menu());
    QCOMPARE(captions(bar[0]->menu()->actions()),
             (QStringList{"add1=Start Level &1", "add2=Start Level &2", "add3=Start Level &3",
                          "add4=Start Level &4", "add5=Start Level &5"}));
    QCOMPARE(captions(bar[1]->menu()->actions()),
             (QStringList{"sub1=Start Level &1", "sub2=Start Level &2", "sub3=Start Level &3",
                          "sub4=Start Level &4", "sub5=Start Level &5"}));
    QCOMPARE(
        captions(bar[3]->menu()->actions()),
        (QStringList{"mnuHowtoPlay=&Information and Instructions", "mnuAbout=&About Sumbright"}));

    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuSub"));
    QApplication::activePopupWidget()->close();
}

// Alt+H is taken by High Scores; the help page tells players to reach Help with Alt+A and the
// left arrow, round from the first menu to the last.
void MainWindowTest::keyboardRouteToTheHelpMenu() {
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QSignalSpy highScores(form.findChild<QAction*>(QStringLiteral("mnuhiscore")),
                          &QAction::triggered);
    QTest::keyClick(&form, Qt::Key_H, Qt::AltModifier);
    QCOMPARE(highScores.count(), 1);
    QVERIFY(!QApplication::activePopupWidget());

    QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuAddition"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left);
    QTRY_COMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuhelp"));
    QSignalSpy howToPlay(form.mnuHowtoPlay(), &QAction::triggered);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QCOMPARE(howToPlay.count(), 1);
    QCOMPARE(highScores.count(), 1);
}

void MainWindowTest::boardButtonsArePaintedFlatInTheirColour() {
    for (const auto& [paletteIndex, expected] :
         {std::pair(9, QColor(0, 0, 255)), std::pair(10, QColor(0, 255, 0))}) {
        MainWindow form;
        form.setButtonColour(7, paletteIndex);
        form.setButtonCaption(7, "88");
        const QImage image = form.numberButton(7)->grab().toImage();
        // Flat: the same colour in every corner of the face and beside the caption.
        for (const QPoint point : {QPoint(4, 4), QPoint(68, 4), QPoint(4, 28), QPoint(68, 28),
                                   QPoint(10, 16), QPoint(62, 16)}) {
            QCOMPARE(image.pixelColor(point), expected);
        }
        // Its neighbour keeps the white of creation.
        QCOMPARE(form.numberButton(8)->grab().toImage().pixelColor(36, 4), QColor(Qt::white));
    }
}

// The idle animation changes one button five times a second; nothing else may be redrawn.
void MainWindowTest::aChangedButtonRepaintsAlone() {
    MainWindow form;
    form.show();
    // Active too: a window system that activates the window late repaints it then.
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.timer(Timer::tmrInit)->stop();
    QCoreApplication::processEvents();

    class PaintCounter final : public QObject {
    public:
        QStringList painted;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted << watched->objectName();
            }
            return false;
        }
    } counter;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        widget->installEventFilter(&counter);
    }
    form.installEventFilter(&counter);

    form.setButtonCaption(14, "23");
    form.setButtonColour(14, 10);
    QTRY_VERIFY(!counter.painted.isEmpty());
    QCoreApplication::processEvents();
    counter.painted.removeDuplicates();
    QCOMPARE(counter.painted, QStringList{"Cmd_Number_14"});
}

void MainWindowTest::tabWalksTheBoardInOrder() {
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.numberButton(0));
    for (int i = 1; i < kBoardButtons; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.numberButton(i));
    }
}

void MainWindowTest::accessibleNamesAndDescriptions() {
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto accessible = [&form](const QString& name, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(form.findChild<QWidget*>(name))->text(text);
    };
    QCOMPARE(accessible("lblAnswer", QAccessible::Description), QStringLiteral("target number"));
    QCOMPARE(accessible("Cmd_Number_17", QAccessible::Description),
             QStringLiteral("row 3, column 6"));

    // A label is heard by its text, a board button by its number, a result by its words.
    form.setCaption(Label::lblAnswer, "15");
    form.setButtonCaption(7, "12");
    form.announce({MessageId::RightAnswer, 950});
    QCoreApplication::processEvents();
    QCOMPARE(accessible("lblAnswer", QAccessible::Name), QStringLiteral("15"));
    QCOMPARE(accessible("Cmd_Number_7", QAccessible::Name), QStringLiteral("12"));
    QCOMPARE(form.announcer()->shown(), QStringLiteral("Right! 950 points."));
}

// Screen readers say "push button" for a board button and read its checked state; Qt's own
// checkable QPushButton would be a check box with a Toggle action instead.
void MainWindowTest::aPickedButtonIsACheckedPushButton() {
    MainWindow form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    BoardButton* button = form.numberButton(7);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    QCOMPARE(accessible->role(), QAccessible::Button);
    QVERIFY(accessible->state().checkable);
    QVERIFY(!accessible->state().checked);

    button->setPicked(true);
    QVERIFY(accessible->state().checked);
    QVERIFY(!QAccessible::queryAccessibleInterface(form.numberButton(8))->state().checked);
    // Picking is the game's business: a click neither picks nor unpicks by itself.
    button->click();
    QVERIFY(accessible->state().checked);
    button->setPicked(false);
    QVERIFY(!accessible->state().checked);

    // Press clicks it, as it does on Qt's own push button.
    QCOMPARE(accessible->actionInterface()->actionNames(),
             (QStringList{QAccessibleActionInterface::pressAction(),
                          QAccessibleActionInterface::setFocusAction()}));
    QSignalSpy clicked(button, &QPushButton::clicked);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicked.size(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
