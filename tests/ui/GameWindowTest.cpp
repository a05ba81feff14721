#include "BoardButton.h"
#include "Form2.h"
#include "GameSession.h"
#include "RecordingSound.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <set>

using namespace brightsum;

namespace {

const QColor kBlueFace(0, 0, 255);
const QColor kGreenFace(0, 255, 0);

// A whole program run in a folder of its own, with silent sounds.
struct Run {
    Run() : session(sound, folder(), folder() / "data") {}

    std::filesystem::path folder() const { return dir.path().toStdString(); }
    QString text(Label id) { return session.window().label(id)->text(); }
    void choose(const char* entry) {
        auto* action = session.window().findChild<QAction*>(QString::fromLatin1(entry));
        QVERIFY2(action, entry);
        action->trigger();
    }
    void tick(Timer id) { QMetaObject::invokeMethod(session.window().timer(id), "timeout"); }

    QTemporaryDir dir;
    RecordingSound sound;
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
    void timerTicksReachTheGame();
    void highScoresMenuShowsTheTableOnce();
};

void GameWindowTest::startUpShowsTheIdleWindow() {
    Run run;
    Form1& window = run.session.window();
    run.session.start();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(), QStringLiteral("Brightsum"));
    GameSession::setApplicationIcon();
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    const QStringList questionLine{run.text(Label::lblPart1), run.text(Label::lblOper),
                                   run.text(Label::lblPart2), run.text(Label::lblEqual),
                                   run.text(Label::lblAnswer)};
    QCOMPARE(questionLine, (QStringList{"?", "+", "?", "=", "?"}));
    // The status line keeps its creation texts until the first game writes it.
    QCOMPARE(run.text(Label::lblScore), QStringLiteral("0"));
    QCOMPARE(run.text(Label::lblPoints), QStringLiteral("1000"));
    QCOMPARE(run.text(Label::lblQuestionNumber), QStringLiteral("1"));
    QCOMPARE(run.text(Label::lblLevel), QStringLiteral("1"));

    for (int i = 0; i < kBoardButtons; ++i) {
        bool number = false;
        const int value = window.numberButton(i)->text().toInt(&number);
        QVERIFY2(number && value >= 1 && value <= 25, qPrintable(window.numberButton(i)->text()));
        const QColor colour = window.numberButton(i)->colour();
        QVERIFY(colour == kBlueFace || colour == kGreenFace);
    }

    QVERIFY(window.timer(Timer::tmrInit)->isActive());
    QVERIFY(!window.timer(Timer::tmrCounter)->isActive());
    QVERIFY(!window.timer(Timer::tmrPoints)->isActive());
    QVERIFY(!run.session.engine().state().GameActive);
    QVERIFY(std::filesystem::exists(run.folder() / "hiscore.dat"));

    const QRect screen = window.screen()->geometry();
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 1);
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
    run.session.start();
    run.choose(qPrintable(entry));

    const GameState& state = run.session.engine().state();
    QVERIFY(state.GameActive);
    QCOMPARE(QString::fromStdString(state.Operation), sign);
    QCOMPARE(state.Level, level);
    QCOMPARE(run.text(Label::lblOper), sign);
    QCOMPARE(run.text(Label::lblLevel), QString::number(level));
    QCOMPARE(run.text(Label::lblQuestionNumber), QStringLiteral("1"));
    QVERIFY(run.text(Label::lblAnswer).toInt() > 0);
    Form1& window = run.session.window();
    QVERIFY(window.timer(Timer::tmrCounter)->isActive());
    QVERIFY(window.timer(Timer::tmrPoints)->isActive());
    QVERIFY(!window.timer(Timer::tmrInit)->isActive());
}

// Assistive technology can press the hidden New Game button; a game started that way would
// have no operation and could never be answered.
void GameWindowTest::hiddenNewGameButtonStartsNothing() {
    Run run;
    run.session.start();
    auto* start = run.session.window().findChild<QPushButton*>(QStringLiteral("cmdStart"));
    QVERIFY(start);
    start->click();

    QVERIFY(!run.session.engine().state().GameActive);
    QCOMPARE(run.text(Label::lblAnswer), QStringLiteral("?"));
    QVERIFY(run.session.window().timer(Timer::tmrInit)->isActive());
}

void GameWindowTest::boardClicksReachTheGame() {
    Run run;
    run.session.start();
    Form1& window = run.session.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.timer(Timer::tmrInit)->stop();  // keep the idle board still

    // While no game runs a click changes nothing.
    const QColor idleColour = window.numberButton(4)->colour();
    QTest::mouseClick(window.numberButton(4), Qt::LeftButton);
    QVERIFY(run.sound.cues.empty());
    QCOMPARE(window.numberButton(4)->colour(), idleColour);

    run.choose("add2");
    QCOMPARE(window.numberButton(4)->colour(), kBlueFace);
    QTest::mouseClick(window.numberButton(4), Qt::LeftButton);
    QCOMPARE(run.sound.cues.size(), std::size_t{1});
    QCOMPARE(run.sound.cues[0].first, std::string("select.wav"));
    QCOMPARE(run.sound.cues[0].second, CueMode::Wait);
    QCOMPARE(window.numberButton(4)->colour(), kGreenFace);
    QCOMPARE(run.text(Label::lblPart1), window.numberButton(4)->text());
    QCOMPARE(run.session.engine().state().FirstPickIndex, 4);

    // The keyboard counts as a click too: the second pick is judged, right or wrong.
    window.numberButton(9)->setFocus();
    QTest::keyClick(window.numberButton(9), Qt::Key_Space);
    QCOMPARE(run.sound.cues.size(), std::size_t{3});
    QCOMPARE(run.sound.cues[1].first, std::string("select.wav"));
    const std::set<std::string> verdicts{"good.wav", "bad.wav"};
    QVERIFY(verdicts.count(run.sound.cues[2].first) == 1);
}

void GameWindowTest::timerTicksReachTheGame() {
    Run run;
    run.session.start();
    Form1& window = run.session.window();

    // The idle animation changes the board while no game runs.
    QStringList before;
    for (int i = 0; i < kBoardButtons; ++i) {
        before << window.numberButton(i)->text() + window.numberButton(i)->colour().name();
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (int i = 0; i < kBoardButtons; ++i) {
                if (before[i] !=
                    window.numberButton(i)->text() + window.numberButton(i)->colour().name()) {
                    return true;
                }
            }
            return false;
        }(),
        10000);

    run.choose("sub1");
    for (int i = 0; i < 3; ++i) {
        run.tick(Timer::tmrPoints);
    }
    QCOMPARE(run.text(Label::lblPoints), QStringLiteral("950"));

    // The time limit ends the question: its cue, a pause, then question 2.
    run.tick(Timer::tmrCounter);
    QCOMPARE(run.sound.cues.back().first, std::string("timeup.wav"));
    QCOMPARE(run.text(Label::lblQuestionNumber), QStringLiteral("2"));
}

void GameWindowTest::highScoresMenuShowsTheTableOnce() {
    Run run;
    run.session.start();
    run.choose("mnuhiscore");
    Form2* shown = run.session.highScoreWindow().window();
    QVERIFY(shown);
    // Read back from the file the program wrote at start-up.
    QCOMPARE(shown->scores()->item(2)->text(), QStringLiteral(" 1000"));
    QCOMPARE(shown->levels()->item(2)->text(), QStringLiteral(" 1"));
    QCOMPARE(shown->names()->count(), 12);
    QCOMPARE(run.sound.cues.size(), std::size_t{1});
    QCOMPARE(run.sound.cues[0].first, std::string("showhi.wav"));

    run.choose("mnuhiscore");
    QCOMPARE(run.session.highScoreWindow().window(), shown);
    QCOMPARE(run.sound.cues.size(), std::size_t{1});
}

QTEST_MAIN(GameWindowTest)
#include "GameWindowTest.moc"
