// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"
#include "BoardButton.h"
#include "GameSession.h"
#include "HighScoreWindow.h"
#include "SimSound.h"
#include "WidgetTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>

using namespace brightsum;

namespace {

const QColor kBlueFace(0, 0, 255);
const QColor kGreenFace(0, 255, 0);

// A whole program run in a folder of its own, with silent sounds.
struct Run {
    Run() : session(sound, folder(), folder() / "data") { session.start(); }

    std::filesystem::path folder() const { return dir.path().toStdString(); }
    MainWindow& window() { return session.window(); }
    QString text(Label id) { return window().label(id)->text(); }
    bool active(Timer id) { return window().timer(id)->isActive(); }
    QStringList board() {
        QStringList out;
        for (int i = 0; i < kBoardButtons; ++i) {
            out << window().numberButton(i)->text() + window().numberButton(i)->colour().name();
        }
        return out;
    }
    void choose(const char* entry) {
        auto* action = window().findChild<QAction*>(QString::fromLatin1(entry));
        QVERIFY2(action, entry);
        action->trigger();
    }
    void tick(Timer id) { QMetaObject::invokeMethod(window().timer(id), "timeout"); }

    QTemporaryDir dir;
    sim::SimSound sound;
    GameSession session;
};

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheIdleWindow();
    void levelEntriesStartGames_data();
    void levelEntriesStartGames();
    void hiddenNewGameButtonStartsNothing();
    void boardClicksReachTheGame();
    void returnAndEnterPickLikeSpace();
    void f5SaysTheQuestionAgain();
    void timerTicksReachTheGame();
    void highScoresMenuShowsTheTableOnce();
};

void GameWindowTest::startUpShowsTheIdleWindow() {
    Run run;
    MainWindow& window = run.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(centredOnScreen(&window));
    GameSession::prepareWidgets();
    QCOMPARE(window.windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    for (const QSize size : window.windowIcon().availableSizes()) {
        QCOMPARE(window.windowIcon().pixmap(size).size(), size);  // drawn at that size, not scaled
    }

    // The question line shows question marks; the status line keeps its creation texts
    // until the first game writes it.
    QStringList labels;
    for (Label id :
         {Label::lblPart1, Label::lblOper, Label::lblPart2, Label::lblEqual, Label::lblAnswer,
          Label::lblScore, Label::lblPoints, Label::lblQuestionNumber, Label::lblLevel}) {
        labels << run.text(id);
    }
    QCOMPARE(labels, (QStringList{"?", "+", "?", "=", "?", "0", "1000", "1", "1"}));

    for (int i = 0; i < kBoardButtons; ++i) {
        const int value = window.numberButton(i)->text().toInt();
        QVERIFY2(value >= 1 && value <= 25, qPrintable(window.numberButton(i)->text()));
        const QColor colour = window.numberButton(i)->colour();
        QVERIFY(colour == kBlueFace || colour == kGreenFace);
    }
    QVERIFY(run.active(Timer::tmrInit));
    QVERIFY(!run.active(Timer::tmrCounter) && !run.active(Timer::tmrPoints));
    QVERIFY(!run.session.engine().state().GameActive);
    QVERIFY(std::filesystem::exists(run.folder() / "hiscore.dat"));
}

void GameWindowTest::levelEntriesStartGames_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<int>("level");
    for (int level = 1; level <= 5; ++level) {
        QTest::addRow("add%d", level) << QStringLiteral("add%1").arg(level) << "+" << level;
        QTest::addRow("sub%d", level) << QStringLiteral("sub%1").arg(level) << "-" << level;
    }
}

void GameWindowTest::levelEntriesStartGames() {
    QFETCH(QString, entry);
    QFETCH(QString, sign);
    QFETCH(int, level);
    Run run;
    run.choose(qPrintable(entry));

    QVERIFY(run.session.engine().state().GameActive);
    QCOMPARE(run.text(Label::lblOper), sign);
    QCOMPARE(run.text(Label::lblLevel), QString::number(level));
    QVERIFY(run.text(Label::lblAnswer).toInt() > 0);
    QVERIFY(run.active(Timer::tmrCounter) && run.active(Timer::tmrPoints));
    QVERIFY(!run.active(Timer::tmrInit));
}

// Assistive technology can press the hidden New Game button; a game started that way would
// have no operation and could never be answered.
void GameWindowTest::hiddenNewGameButtonStartsNothing() {
    Run run;
    auto* start = run.window().findChild<QPushButton*>(QStringLiteral("cmdStart"));
    QVERIFY(start);
    start->click();

    QVERIFY(!run.session.engine().state().GameActive);
    QCOMPARE(run.text(Label::lblAnswer), QStringLiteral("?"));
    QVERIFY(run.active(Timer::tmrInit));
}

void GameWindowTest::boardClicksReachTheGame() {
    Run run;
    MainWindow& window = run.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.timer(Timer::tmrInit)->stop();  // keep the idle board still

    // While no game runs a click changes nothing.
    const QStringList idle = run.board();
    QTest::mouseClick(window.numberButton(4), Qt::LeftButton);
    QVERIFY(run.sound.cues().empty());
    QCOMPARE(run.board(), idle);

    run.choose("add2");
    QTest::mouseClick(window.numberButton(4), Qt::LeftButton);
    QCOMPARE(run.sound.cues(), (std::vector<sim::PlayedCue>{{Cue::Select, CueMode::Wait}}));
    QCOMPARE(window.numberButton(4)->colour(), kGreenFace);
    QCOMPARE(run.text(Label::lblPart1), window.numberButton(4)->text());

    // The keyboard counts as a click too: the second pick is judged, right or wrong.
    window.numberButton(9)->setFocus();
    QTest::keyClick(window.numberButton(9), Qt::Key_Space);
    QCOMPARE(run.sound.cues().size(), std::size_t{3});
    QCOMPARE(run.sound.cues()[1].cue, Cue::Select);
    QVERIFY(run.sound.cues()[2].cue == Cue::Good || run.sound.cues()[2].cue == Cue::Bad);
}

// Return and keypad Enter on a focused board button are clicks: the same cue, colour and pick
// as Space, judged before the key press returns.
void GameWindowTest::returnAndEnterPickLikeSpace() {
    Run run;
    MainWindow& window = run.window();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.timer(Timer::tmrInit)->stop();
    run.choose("add3");

    BoardButton* first = window.numberButton(4);
    first->setFocus();
    QSignalSpy clicks(first, &QPushButton::clicked);
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(run.sound.cues(), (std::vector<sim::PlayedCue>{{Cue::Select, CueMode::Wait}}));
    QCOMPARE(first->colour(), kGreenFace);
    QCOMPARE(run.text(Label::lblPart1), first->text());

    // Held down, a key repeats; the repeats pick nothing more.
    QTest::keyPress(first, Qt::Key_Return);
    QCOMPARE(clicks.count(), 2);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(first, &repeat);
    QCOMPARE(clicks.count(), 2);
    QTest::keyRelease(first, Qt::Key_Return);
    // The same button picked again only plays its cue and stays the first pick.
    QCOMPARE(run.sound.cues().size(), std::size_t{2});
    QCOMPARE(run.session.engine().state().PickCount, 1);

    BoardButton* second = window.numberButton(9);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(run.sound.cues().size(), std::size_t{4});
    QCOMPARE(run.sound.cues()[2].cue, Cue::Select);
    QVERIFY(run.sound.cues()[3].cue == Cue::Good || run.sound.cues()[3].cue == Cue::Bad);
}

void GameWindowTest::timerTicksReachTheGame() {
    Run run;
    // The idle animation changes the board while no game runs.
    const QStringList before = run.board();
    QTRY_VERIFY_WITH_TIMEOUT(run.board() != before, 10000);

    run.choose("sub1");
    for (int i = 0; i < 3; ++i) {
        run.tick(Timer::tmrPoints);
    }
    QCOMPARE(run.text(Label::lblPoints), QStringLiteral("950"));

    // The time limit ends the question: its cue, a pause, then question 2.
    run.tick(Timer::tmrCounter);
    QCOMPARE(run.sound.cues().back().cue, Cue::TimeUp);
    QCOMPARE(run.text(Label::lblQuestionNumber), QStringLiteral("2"));
}

void GameWindowTest::highScoresMenuShowsTheTableOnce() {
    Run run;
    run.choose("mnuhiscore");
    HighScoreWindow* shown = run.session.highScoreWindow().window();
    QVERIFY(shown);
    // Read back from the file the program wrote at start-up.
    QCOMPARE(shown->scores()->item(2)->text(), QStringLiteral(" 1000"));
    QCOMPARE(shown->levels()->item(2)->text(), QStringLiteral(" 1"));

    run.choose("mnuhiscore");
    QCOMPARE(run.session.highScoreWindow().window(), shown);
    QCOMPARE(run.sound.cues(),
             (std::vector<sim::PlayedCue>{{Cue::ShowHighScores, CueMode::Async}}));
}

// The key a player who listens presses to hear the question again, wherever the focus is in
// the main window; a picked button is checked for the screen reader.
void GameWindowTest::f5SaysTheQuestionAgain() {
    Run run;
    MainWindow& window = run.window();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.timer(Timer::tmrInit)->stop();
    QTest::keyClick(window.numberButton(9), Qt::Key_F5);
    QTRY_COMPARE(window.announcer()->shown(),
                 QStringLiteral("No game yet. Choose Addition or Subtraction in the menu bar."));

    run.choose("sub2");
    const QString question =
        QStringLiteral("Question 1. Make %1 with minus.").arg(run.text(Label::lblAnswer));
    QTRY_COMPARE(window.announcer()->shown(), question);
    QTest::keyClick(window.numberButton(4), Qt::Key_Space);
    QVERIFY(window.numberButton(4)->isPicked());
    const QString picked = QStringLiteral("You picked %1.").arg(window.numberButton(4)->text());
    QTRY_COMPARE(window.announcer()->shown(), picked);
    QTest::keyClick(window.numberButton(4), Qt::Key_F5);
    QTRY_VERIFY2(
        window.announcer()->shown().startsWith(
            question + QStringLiteral(" You picked %1. ").arg(window.numberButton(4)->text())),
        qPrintable(window.announcer()->shown()));
}

QTEST_MAIN(GameWindowTest)
#include "tst_game_window.moc"
