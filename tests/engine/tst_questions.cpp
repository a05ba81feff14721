// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"
#include "Scenes.h"

#include <QTest>

#include <set>

using namespace brightsum;
using namespace brightsum::sim;

namespace {

std::vector<int> boardNumbers(SimWindow& window) {
    std::vector<int> numbers;
    for (int i = 0; i < kBoardButtons; ++i) {
        numbers.push_back(static_cast<int>(TextValue(window.buttonCaption(i))));
    }
    return numbers;
}

}  // namespace

class QuestionCycleTest : public QObject {
    Q_OBJECT

private slots:
    void drawsFollowTheFormulas_data() {
        QTest::addColumn<char>("operation");
        QTest::addColumn<std::vector<double>>("positions");
        QTest::addColumn<std::vector<int>>("expected");  // buttons, numbers and target

        // Level 2 with operand draws 0.5 and 0.25: 20 - 5 = 15 and 5 + 13 = 18.
        const std::vector<int> sub{3, 17, 20, 5, 15};
        const std::vector<int> add{3, 18, 5, 13, 18};
        QTest::newRow("subtraction worked example") << '-' << std::vector{0.1, 0.5} << sub;
        QTest::newRow("addition worked example") << '+' << std::vector{0.1, 0.5} << add;
        QTest::newRow("subtraction's top position is button 34")
            << '-' << std::vector{0.9999999, 0.5} << std::vector{34, 17, 20, 5, 15};
        QTest::newRow("addition's top position is button 35")
            << '+' << std::vector{0.9999999, 0.5} << std::vector{35, 18, 5, 13, 18};
        QTest::newRow("second position drawn again while equal")
            << '-' << std::vector{0.1, 0.1, 0.11, 0.5} << sub;
    }

    void drawsFollowTheFormulas() {
        QFETCH(char, operation);
        QFETCH(std::vector<double>, positions);
        QFETCH(std::vector<int>, expected);

        Scene d;
        d.runFor(0.5);
        // Two operand draws, 36 decoy draws that give the smallest decoy, then the positions.
        std::vector<double> draws{0.5, 0.25};
        draws.insert(draws.end(), kBoardButtons, 0.0);
        draws.insert(draws.end(), positions.begin(), positions.end());
        d.random().feed(draws);
        const std::size_t before = d.random().draws();
        d.menu(operation, 2);

        QCOMPARE(d.random().draws() - before, draws.size());
        QCOMPARE(d.random().pending(), std::size_t{0});
        QCOMPARE(d.window().caption("lblAnswer"), std::to_string(expected[4]));
        QCOMPARE(d.window().caption("lblOper"), std::string(1, operation));
        QCOMPARE(d.window().caption("lblPart1"), "?");
        QCOMPARE(d.window().caption("lblPart2"), "?");
        for (int i = 0; i < kBoardButtons; ++i) {
            QCOMPARE(d.window().buttonColour(i), kLightBlue);
            const int number = i == expected[0] ? expected[2] : i == expected[1] ? expected[3] : 1;
            QCOMPARE(d.window().buttonCaption(i), std::to_string(number));
        }
    }

    void rangesOverManyQuestions_data() {
        QTest::addColumn<char>("operation");
        QTest::addColumn<int>("level");
        for (const char operation : {'-', '+'}) {
            for (int level = 1; level <= 5; ++level) {
                QTest::addRow("%c level %d", operation, level) << operation << level;
            }
        }
    }

    void rangesOverManyQuestions() {
        QFETCH(char, operation);
        QFETCH(int, level);

        Scene d(static_cast<std::uint64_t>(level) * 7919 + static_cast<std::uint64_t>(operation));
        std::set<int> targets;
        int largestOnBoard = 0;
        for (int question = 0; question < 1000; ++question) {
            d.menu(operation, level);
            const int target = static_cast<int>(TextValue(d.window().caption("lblAnswer")));
            const std::vector<int> numbers = boardNumbers(d.window());
            const auto [smallest, largest] = std::minmax_element(numbers.begin(), numbers.end());
            targets.insert(target);
            largestOnBoard = std::max(largestOnBoard, *largest);

            QCOMPARE(d.window().buttonsColoured(kLightBlue).size(), std::size_t{kBoardButtons});
            QVERIFY(d.rightPair());  // always on two different buttons
            QVERIFY(*smallest >= 1);
            const int decoyLimit = operation == '-' ? 10 * level : target - 2;
            QVERIFY(std::ranges::count_if(numbers, [&](int n) { return n <= decoyLimit; }) >=
                    kBoardButtons - 2);
            if (operation == '-') {
                QVERIFY(target >= 1 && target <= 15 * level - 2);
                QVERIFY(numbers[35] <= 10 * level);  // the last button only ever holds a decoy
            } else {
                QVERIFY(target >= 4 * level && target <= 14 * level - 1);
                QVERIFY(*largest <= target - 1);
            }
        }
        if (operation == '-') {
            QCOMPARE(largestOnBoard, 15 * level - 1);  // the largest minuend turns up
        } else {
            QCOMPARE(targets.size(), std::size_t(10 * level));  // every sum turns up
        }
    }

    // The smallest sum leaves decoys of 1 and 2 only, and a 3 only as the addend itself.
    void smallestAdditionAtLevelOne_data() {
        QTest::addColumn<double>("addendDraw");
        QTest::addColumn<int>("threes");
        QTest::newRow("1 + 3") << 0.0 << 1;
        QTest::newRow("2 + 2") << 0.75 << 0;
    }

    void smallestAdditionAtLevelOne() {
        QFETCH(double, addendDraw);
        QFETCH(int, threes);

        Scene d;
        d.random().feed({0.0, addendDraw});
        d.menu('+', 1);
        QCOMPARE(d.window().caption("lblAnswer"), "4");
        const std::vector<int> numbers = boardNumbers(d.window());
        QVERIFY(std::ranges::all_of(numbers, [](int n) { return n >= 1 && n <= 3; }));
        QCOMPARE(std::ranges::count(numbers, 3), threes);
        QVERIFY(d.rightPair());
    }

    void newGameStartsAfresh() {
        Scene d;
        d.menu('-', 1);
        for (int question = 0; question < 2; ++question) {
            d.runFor(0.5);
            clickPair(d, true);
        }
        QCOMPARE(d.state().TotalPoints, 2000);
        QCOMPARE(d.state().QuestionNumber, 3);

        d.runFor(4.0);
        d.menu('+', 2);
        QCOMPARE(d.state().TotalPoints, 0);
        QCOMPARE(d.state().QuestionValue, 1100);
        QCOMPARE(d.window().caption("lblScore"), "0");
        QCOMPARE(d.window().caption("lblQuestionNumber"), "1");
        QCOMPARE(d.window().caption("lblLevel"), "2");
        QVERIFY(d.timerEnabled(Timer::tmrCounter) && d.timerEnabled(Timer::tmrPoints));
        QVERIFY(!d.timerEnabled(Timer::tmrInit));
        EXPECT_NO_VIOLATIONS(d);
    }

    void sameClockReadingStillGivesANewQuestion() {
        Scene d;
        d.menu('+', 5);
        const double reading = d.random().lastReseed();
        const std::vector<int> first = boardNumbers(d.window());
        d.menu('+', 5);
        QCOMPARE(d.random().lastReseed(), reading);
        QVERIFY(boardNumbers(d.window()) != first);
    }
};

QTEST_GUILESS_MAIN(QuestionCycleTest)
#include "tst_questions.moc"
