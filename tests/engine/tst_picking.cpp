// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

class AnswerPickingTest : public QObject {
    Q_OBJECT

private slots:
    void pairJudgedByValueAndOrder_data() {
        QTest::addColumn<char>("operation");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("right");
        QTest::newRow("8 - 3 is 5") << '-' << 0 << 17 << true;
        QTest::newRow("3 - 8 is not 5") << '-' << 17 << 0 << false;
        QTest::newRow("6 + 6 on two buttons") << '+' << 0 << 18 << true;
        QTest::newRow("6 + 6 picked the other way") << '+' << 18 << 0 << true;
        QTest::newRow("1 + 6 is not 12") << '+' << 5 << 18 << false;
    }

    void pairJudgedByValueAndOrder() {
        QFETCH(char, operation);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, right);

        Scene d;
        startScriptedQuestion(d, operation);
        d.runFor(0.5);
        d.click(first);
        d.click(second);
        QCOMPARE(d.sound().count(Cue::Good), right ? 1 : 0);
        QCOMPARE(d.sound().count(Cue::Bad), right ? 0 : 1);
        QCOMPARE(d.state().TotalPoints, right ? 1000 : 0);
        QCOMPARE(d.state().QuestionNumber, right ? 2 : 1);
        EXPECT_NO_VIOLATIONS(d);
    }

    void sameButtonTwiceKeepsOnePick() {
        Scene d;
        startScriptedQuestion(d, '+');
        d.click(0);
        d.click(0);
        QCOMPARE(d.sound().count(Cue::Select), 2);
        QCOMPARE(d.state().PickCount, 1);
        QCOMPARE(d.window().buttonsColoured(kLightGreen), std::vector<int>{0});
        QCOMPARE(d.window().caption("lblPart1"), "6");
        QCOMPARE(d.window().caption("lblPart2"), "?");

        d.click(18);
        QCOMPARE(d.state().TotalPoints, 1000);
        EXPECT_NO_VIOLATIONS(d);
    }

    void wrongPairShownThroughThePauseThenCleared() {
        Scene d;
        startScriptedQuestion(d, '-');
        const double start = d.now();

        std::vector<std::string> shown;
        std::vector<int> green;
        d.at(start + 1.5, "look", [&] {
            shown = {d.window().caption("lblPart1"), d.window().caption("lblPart2")};
            green = d.window().buttonsColoured(kLightGreen);
        });
        d.runUntil(start + 1.0);
        d.click(17);
        d.click(0);

        QCOMPARE(shown, (std::vector<std::string>{"3", "8"}));
        QCOMPARE(green, (std::vector<int>{0, 17}));
        // After the pause: the picks cleared, the question itself untouched and still timed.
        QCOMPARE(d.window().caption("lblPart1"), "?");
        QCOMPARE(d.window().caption("lblPart2"), "?");
        QCOMPARE(d.window().buttonsColoured(kLightBlue).size(), std::size_t{kBoardButtons});
        QCOMPARE(d.window().buttonCaption(0), "8");
        QCOMPARE(d.window().buttonCaption(17), "3");
        QCOMPARE(d.state().QuestionNumber, 1);
        QVERIFY(d.timerEnabled(Timer::tmrCounter) && d.timerEnabled(Timer::tmrPoints));

        d.click(0);
        d.click(17);
        QCOMPARE(d.state().TotalPoints, 1000);
        EXPECT_NO_VIOLATIONS(d);
    }

    // A value above the cap is cut to it, then the pause sees one more decay tick.
    void rightPairStaysShownUntilTheNextQuestion_data() {
        QTest::addColumn<double>("after");
        QTest::addColumn<int>("worth");
        QTest::addColumn<QString>("pointsInPause");
        QTest::newRow("at once") << 0.5 << 1000 << "950";
        QTest::newRow("after five ticks") << 5.5 << 850 << "800";
    }

    void rightPairStaysShownUntilTheNextQuestion() {
        QFETCH(double, after);
        QFETCH(int, worth);
        QFETCH(QString, pointsInPause);

        Scene d;
        startScriptedQuestion(d, '-');
        const double start = d.now();

        int value = 0;
        d.at(start + after + 0.2, "answered", [&] { value = d.state().QuestionValue; });
        std::vector<std::string> shown;
        std::vector<int> green;
        bool counter = true;
        d.at(start + after + 0.9, "look", [&] {
            shown = {d.window().caption("lblPart1"), d.window().caption("lblPart2"),
                     d.window().caption("lblPoints"), d.window().caption("lblScore")};
            green = d.window().buttonsColoured(kLightGreen);
            counter = d.timerEnabled(Timer::tmrCounter);
        });
        d.runUntil(start + after);
        d.click(0);
        d.click(17);

        QCOMPARE(value, worth);
        QCOMPARE(shown, (std::vector<std::string>{"8", "3", pointsInPause.toStdString(),
                                                  std::to_string(worth)}));
        QCOMPARE(green, (std::vector<int>{0, 17}));
        QVERIFY(!counter);
        QCOMPARE(d.state().QuestionNumber, 2);
        QCOMPARE(d.window().buttonsColoured(kLightBlue).size(), std::size_t{kBoardButtons});
        EXPECT_NO_VIOLATIONS(d);
    }

    void firstPickDroppedByATimeOut() {
        Scene d;
        startScriptedQuestion(d, '-');
        const double start = d.now();
        d.runUntil(start + 10);
        d.click(0);
        QCOMPARE(d.state().PickCount, 1);

        d.runUntil(start + 24.5);
        QCOMPARE(d.state().QuestionNumber, 2);
        QCOMPARE(d.state().PickCount, 0);
        QCOMPARE(d.window().caption("lblPart1"), "?");
        QVERIFY(d.window().buttonsColoured(kLightGreen).empty());

        d.click(7);
        QCOMPARE(d.state().PickCount, 1);
        QCOMPARE(d.state().FirstPickIndex, 7);
        QCOMPARE(d.window().caption("lblPart1"), d.window().buttonCaption(7));
        EXPECT_NO_VIOLATIONS(d);
    }
};

QTEST_GUILESS_MAIN(AnswerPickingTest)
#include "tst_picking.moc"
