// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

// The rules the game keeps where a pause or a dialog lets events in between its steps; the
// checker watches each scene as well.
class InvariantsTest : public QObject {
    Q_OBJECT

private slots:
    // A game ends once, and no click or menu reaches it while its dialogs wait.
    void inputLetThroughDuringGameOverIsIgnored() {
        Scene d;
        d.setModalBlocksInput(false);
        d.dialogs().queue(DialogAnswer::typed("Ada", 5.0));
        d.menu('+', 1);
        // Nine time-outs, then the tenth question answered; its pause ends in the game over.
        d.runUntil(d.now() + 9 * 24.0 + 0.5);
        clickPair(d, true, 0.1);
        const double judged = d.now() + 0.1;
        // The last question is still on the board behind the prompt: click its right pair.
        d.at(judged + 1.5, "pair", [&] { clickPair(d, true); });
        d.menuAt(judged + 3.0, '-', 4);
        d.runUntil(judged + 10.0);

        QCOMPARE(d.dialogs().count(MessageId::HighScorePrompt), 1);
        QCOMPARE(d.checker.gamesEnded(), 1);
        QCOMPARE(d.sound().count(Cue::Select), 2);
        QCOMPARE(d.state().Operation, Operation::Addition);
        QVERIFY(!d.state().GameActive);
        // 1000 ties the top entry and goes below it, once.
        const auto& names = d.engine().table().HighNames;
        QCOMPARE((std::vector<std::string>{names[0], names[1], names[2]}),
                 (std::vector<std::string>{"Quill", "Ada", "Brindle"}));
        EXPECT_NO_VIOLATIONS(d);
    }

    void rightPairAgainInItsPauseScoresOnce() {
        Scene d;
        d.menu('-', 2);
        const double start = d.now();
        d.runUntil(start + 0.5);
        clickPair(d, true, 0.2);
        d.at(start + 1.0, "again", [&] { clickPair(d, true, 0.2); });
        d.runUntil(start + 6.0);

        QCOMPARE(d.sound().count(Cue::Select), 2);
        QCOMPARE(d.sound().count(Cue::Good), 1);
        QCOMPARE(d.state().TotalPoints, 1000);
        QCOMPARE(d.state().QuestionNumber, 2);
        EXPECT_NO_VIOLATIONS(d);
    }

    void gameStartedInAPauseKeepsItsFirstQuestion_data() {
        QTest::addColumn<bool>("afterTimeOut");
        QTest::newRow("pause after a right answer") << false;
        QTest::newRow("pause after a time-out") << true;
    }

    void gameStartedInAPauseKeepsItsFirstQuestion() {
        QFETCH(bool, afterTimeOut);

        Scene d;
        d.menu('+', 3);
        const double start = d.now();
        double pauseBegins = start + 23.0;
        if (!afterTimeOut) {
            d.runUntil(start + 4.0);
            clickPair(d, true, 0.1);
            pauseBegins = start + 4.0 + 0.1 + 2 * 0.08;
        }
        d.menuAt(pauseBegins + 0.3, '-', 1);
        d.runUntil(pauseBegins + 3.0);

        QCOMPARE(d.state().Operation, Operation::Subtraction);
        QCOMPARE(d.state().QuestionNumber, 1);
        QCOMPARE(d.window().caption("lblQuestionNumber"), "1");
        QCOMPARE(d.state().TotalPoints, 0);
        // The new game's first question keeps its whole time limit.
        const std::size_t mark = d.trace().size();
        d.runUntil(pauseBegins + 0.3 + 22.9);
        QCOMPARE(timeOf(d, "cue timeup.wav", mark), -1.0);
        d.runUntil(pauseBegins + 0.3 + 23.1);
        QVERIFY(timeOf(d, "cue timeup.wav", mark) > 0);
        EXPECT_NO_VIOLATIONS(d);
    }

    // A right pair judged in the time-out's pause scores nothing, even at a value of -50,
    // and the game moves on by one question only.
    void rightPairInTheTimeOutPauseMovesOnOnce_data() {
        QTest::addColumn<bool>("decayTickFirst");
        QTest::newRow("value 0 at the time-out") << false;
        QTest::newRow("value -50 at the time-out") << true;
    }

    void rightPairInTheTimeOutPauseMovesOnOnce() {
        QFETCH(bool, decayTickFirst);

        Scene d;
        d.setDecayTickFirstOnTies(decayTickFirst);
        d.menu('-', 5);
        const double start = d.now();
        int valueAtAnswer = 1;
        d.at(start + 23.3, "answer", [&] {
            valueAtAnswer = d.state().QuestionValue;
            clickPair(d, true, 0.1);
        });
        d.runUntil(start + 23.3 + 0.1 + 2 * 0.08 + 1.0 + 3.0);

        QCOMPARE(valueAtAnswer, decayTickFirst ? -50 : 0);
        QCOMPARE(d.sound().count(Cue::Good), 1);
        QCOMPARE(d.state().TotalPoints, 0);
        QCOMPARE(d.window().caption("lblScore"), "0");
        QCOMPARE(d.state().QuestionNumber, 2);
        EXPECT_NO_VIOLATIONS(d);
    }

    void wrongPairCleanUpSparesWhatFollowed_data() {
        QTest::addColumn<QString>("during");
        QTest::addColumn<int>("picks");
        QTest::addColumn<int>("question");
        QTest::newRow("a new first pick") << "pick" << 1 << 1;
        QTest::newRow("a new game and its first pick") << "game" << 1 << 1;
        QTest::newRow("a time-out and the next question") << "time-out" << 0 << 2;
    }

    void wrongPairCleanUpSparesWhatFollowed() {
        QFETCH(QString, during);
        QFETCH(int, picks);
        QFETCH(int, question);

        Scene d;
        d.menu('+', 2);
        const double judged = d.now() + (during == "time-out" ? 22.6 : 5.0);
        d.runUntil(judged - 0.1 - 2 * 0.08);
        clickPair(d, false, 0.1);
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
        EXPECT_NO_VIOLATIONS(d);
    }
};

QTEST_GUILESS_MAIN(InvariantsTest)
#include "tst_invariants.moc"
