#include <QTest>

#include "Scenes.h"

using namespace brightsum;
using namespace brightsum::sim;

namespace {

// Clicks the open question's right pair now (a first click, then the second 0.1 s later).
void clickRightPair(SimDesktop& d) {
    const auto pair = d.rightPair();
    QVERIFY(pair);
    d.click(pair->first);
    d.clickAt(d.now() + 0.1, pair->second);
}

void clickWrongPair(SimDesktop& d) {
    const auto pair = d.wrongPair();
    QVERIFY(pair);
    d.click(pair->first);
    d.clickAt(d.now() + 0.1, pair->second);
}

}  // namespace

class InvariantsTest : public QObject {
    Q_OBJECT

private slots:
    void inputLetThroughDuringGameOverIsIgnored();
    void rightPairAgainInItsPauseScoresOnce();
    void gameStartedInAPauseKeepsItsFirstQuestion_data();
    void gameStartedInAPauseKeepsItsFirstQuestion();
    void rightPairInTheTimeOutPauseMovesOnOnce_data();
    void rightPairInTheTimeOutPauseMovesOnOnce();
    void wrongPairCleanUpSparesWhatFollowed_data();
    void wrongPairCleanUpSparesWhatFollowed();
    void checkerNoticesBrokenRules_data();
    void checkerNoticesBrokenRules();
};

void InvariantsTest::inputLetThroughDuringGameOverIsIgnored() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.setModalBlocksInput(false);
    d.start();
    d.dialogs().queue(DialogAnswer::typed("Ada", 5.0));
    d.menu('+', 1);
    // Nine time-outs, then the tenth question answered; its pause ends in the game over.
    d.runUntil(d.now() + 9 * 24.0 + 0.5);
    clickRightPair(d);
    const double judged = d.now() + 0.1;
    // The last question is still on the board behind the prompt: click its right pair.
    d.at(judged + 1.5, "pair", [&] {
        const auto pair = d.rightPair();
        QVERIFY(pair);
        d.click(pair->first);
        d.click(pair->second);
    });
    d.menuAt(judged + 3.0, '-', 4);
    d.runUntil(judged + 10.0);

    QCOMPARE(d.dialogs().count("High Score"), 1);
    QCOMPARE(scene.checker.gamesEnded(), 1);
    QCOMPARE(d.sound().count("select.wav"), 2);
    QCOMPARE(d.state().Operation, "+");
    QVERIFY(!d.state().GameActive);
    // 1000 ties the top entry and goes below it, once.
    QCOMPARE(d.engine().table().HighNames[0], "Quill");
    QCOMPARE(d.engine().table().HighNames[1], "Ada");
    QCOMPARE(d.engine().table().HighNames[2], "Brindle");
    EXPECT_NO_VIOLATIONS(scene);
}

void InvariantsTest::rightPairAgainInItsPauseScoresOnce() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('-', 2);
    const double start = d.now();
    d.runUntil(start + 0.5);
    const auto pair = d.rightPair();
    QVERIFY(pair);
    d.click(pair->first);
    d.clickAt(start + 0.7, pair->second);
    d.clickAt(start + 1.0, pair->first);
    d.clickAt(start + 1.2, pair->second);
    d.runUntil(start + 6.0);

    QCOMPARE(d.sound().count("select.wav"), 2);
    QCOMPARE(d.sound().count("good.wav"), 1);
    QCOMPARE(d.state().TotalPoints, 1000);
    QCOMPARE(d.state().QuestionNumber, 2);
    EXPECT_NO_VIOLATIONS(scene);
}

void InvariantsTest::gameStartedInAPauseKeepsItsFirstQuestion_data() {
    QTest::addColumn<bool>("afterTimeOut");
    QTest::newRow("pause after a right answer") << false;
    QTest::newRow("pause after a time-out") << true;
}

void InvariantsTest::gameStartedInAPauseKeepsItsFirstQuestion() {
    QFETCH(bool, afterTimeOut);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('+', 3);
    const double start = d.now();
    double pauseBegins = start + 23.0;
    if (!afterTimeOut) {
        d.runUntil(start + 4.0);
        clickRightPair(d);
        pauseBegins = start + 4.0 + 0.1 + 2 * 0.08;
    }
    d.menuAt(pauseBegins + 0.3, '-', 1);
    d.runUntil(pauseBegins + 3.0);

    QCOMPARE(d.state().Operation, "-");
    QCOMPARE(d.state().QuestionNumber, 1);
    QCOMPARE(d.window().caption("lblQuestionNumber"), "1");
    QCOMPARE(d.state().TotalPoints, 0);
    // The new game's first question keeps its whole time limit.
    const std::size_t mark = d.trace().size();
    d.runUntil(pauseBegins + 0.3 + 22.9);
    QCOMPARE(timeOf(d, "cue timeup.wav", mark), -1.0);
    d.runUntil(pauseBegins + 0.3 + 23.1);
    QVERIFY(timeOf(d, "cue timeup.wav", mark) > 0);
    EXPECT_NO_VIOLATIONS(scene);
}

void InvariantsTest::rightPairInTheTimeOutPauseMovesOnOnce_data() {
    QTest::addColumn<bool>("decayTickFirst");
    QTest::newRow("value 0 at the time-out") << false;
    QTest::newRow("value -50 at the time-out") << true;
}

void InvariantsTest::rightPairInTheTimeOutPauseMovesOnOnce() {
    QFETCH(bool, decayTickFirst);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.setDecayTickFirstOnTies(decayTickFirst);
    d.start();
    d.menu('-', 5);
    const double start = d.now();
    int valueAtAnswer = 1;
    d.at(start + 23.3, "answer", [&] {
        valueAtAnswer = d.state().QuestionValue;
        clickRightPair(d);
    });
    d.runUntil(start + 23.3 + 0.1 + 2 * 0.08 + 1.0 + 3.0);

    QCOMPARE(valueAtAnswer, decayTickFirst ? -50 : 0);
    QCOMPARE(d.sound().count("good.wav"), 1);
    QCOMPARE(d.state().TotalPoints, 0);
    QCOMPARE(d.window().caption("lblScore"), "0");
    QCOMPARE(d.state().QuestionNumber, 2);
    EXPECT_NO_VIOLATIONS(scene);
}

void InvariantsTest::wrongPairCleanUpSparesWhatFollowed_data() {
    QTest::addColumn<QString>("during");
    QTest::addColumn<int>("picks");
    QTest::addColumn<int>("question");
    QTest::newRow("a new first pick") << "pick" << 1 << 1;
    QTest::newRow("a new game and its first pick") << "game" << 1 << 1;
    QTest::newRow("a time-out and the next question") << "time-out" << 0 << 2;
}

void InvariantsTest::wrongPairCleanUpSparesWhatFollowed() {
    QFETCH(QString, during);
    QFETCH(int, picks);
    QFETCH(int, question);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('+', 2);
    const double start = d.now();
    const double judged = start + (during == "time-out" ? 22.6 : 5.0);
    d.runUntil(judged - 0.1 - 2 * 0.08);
    clickWrongPair(d);
    if (during == "game") {
        d.menuAt(judged + 0.2, '+', 4);
    }
    int picked = -1;
    if (during != "time-out") {
        d.at(judged + 0.5, "pick", [&] {
            picked = d.wrongPair()->first;
            d.click(picked);
        });
    }
    d.runUntil(judged + 3.0);

    QCOMPARE(d.state().PickCount, picks);
    QCOMPARE(d.state().QuestionNumber, question);
    if (picks) {
        QCOMPARE(d.window().buttonsColoured(kLightGreen), std::vector<int>{picked});
        QCOMPARE(d.window().caption("lblPart1"), d.window().buttonCaption(picked));
    } else {
        QVERIFY(d.window().buttonsColoured(kLightGreen).empty());
        QCOMPARE(d.window().caption("lblPart1"), "?");
    }
    QCOMPARE(d.window().caption("lblPart2"), "?");
    EXPECT_NO_VIOLATIONS(scene);
}

void InvariantsTest::checkerNoticesBrokenRules_data() {
    QTest::addColumn<bool>("inGame");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("question outside a game") << false << QStringList{"tmrPoints on"};
    QTest::newRow("question replaced while open") << true << QStringList{"tmrPoints on"};
    QTest::newRow("question scored twice") << true << QStringList{"cue good.wav", "cue good.wav"};
    QTest::newRow("game ended early") << true << QStringList{"cue finish.wav"};
    QTest::newRow("dialog beside running timers") << true << QStringList{"message Game Over"};
}

void InvariantsTest::checkerNoticesBrokenRules() {
    QFETCH(bool, inGame);
    QFETCH(QStringList, steps);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    if (inGame) {
        d.menu('+', 1);
    }
    QVERIFY(scene.checker.ok());
    for (const QString& step : steps) {
        d.note(step.toStdString());
    }
    QVERIFY(!scene.checker.ok());
}

QTEST_GUILESS_MAIN(InvariantsTest)
#include "tst_invariants.moc"
