#include <QTest>

#include <set>

#include "Numbers.h"
#include "Scenes.h"

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

// Two operand draws, then 36 decoy draws that give the smallest decoy, then the positions.
std::vector<double> questionDraws(double first, double second, std::vector<double> positions) {
    std::vector<double> draws{first, second};
    draws.insert(draws.end(), kBoardButtons, 0.0);
    draws.insert(draws.end(), positions.begin(), positions.end());
    return draws;
}

}  // namespace

class QuestionCycleTest : public QObject {
    Q_OBJECT

private slots:
    void drawsFollowTheFormulas_data();
    void drawsFollowTheFormulas();
    void rangesOverManyQuestions_data();
    void rangesOverManyQuestions();
    void smallestAdditionAtLevelOne_data();
    void smallestAdditionAtLevelOne();
    void firstQuestionOfAGame();
    void levelChosenMidGameStartsAfresh();
    void sameClockReadingStillGivesANewQuestion();
};

void QuestionCycleTest::drawsFollowTheFormulas_data() {
    QTest::addColumn<char>("operation");
    QTest::addColumn<std::vector<double>>("positions");
    QTest::addColumn<int>("firstButton");
    QTest::addColumn<int>("secondButton");
    QTest::addColumn<QString>("firstNumber");
    QTest::addColumn<QString>("secondNumber");
    QTest::addColumn<QString>("target");

    // Level 2 with operand draws 0.5 and 0.25: 20 - 5 = 15 and 5 + 13 = 18.
    QTest::newRow("subtraction worked example")
        << '-' << std::vector<double>{0.1, 0.5} << 3 << 17 << "20"
        << "5"
        << "15";
    QTest::newRow("addition worked example")
        << '+' << std::vector<double>{0.1, 0.5} << 3 << 18 << "5"
        << "13"
        << "18";
    QTest::newRow("subtraction's top position is button 34")
        << '-' << std::vector<double>{0.9999999, 0.5} << 34 << 17 << "20"
        << "5"
        << "15";
    QTest::newRow("addition's top position is button 35")
        << '+' << std::vector<double>{0.9999999, 0.5} << 35 << 18 << "5"
        << "13"
        << "18";
    QTest::newRow("second position drawn again while equal")
        << '-' << std::vector<double>{0.1, 0.1, 0.11, 0.5} << 3 << 17 << "20"
        << "5"
        << "15";
}

void QuestionCycleTest::drawsFollowTheFormulas() {
    QFETCH(char, operation);
    QFETCH(std::vector<double>, positions);
    QFETCH(int, firstButton);
    QFETCH(int, secondButton);
    QFETCH(QString, firstNumber);
    QFETCH(QString, secondNumber);
    QFETCH(QString, target);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.runFor(0.5);
    const auto draws = questionDraws(0.5, 0.25, positions);
    d.random().feed(draws);
    const std::size_t before = d.random().draws();
    d.menu(operation, 2);

    QCOMPARE(d.random().draws() - before, draws.size());
    QCOMPARE(d.random().pending(), std::size_t{0});
    QCOMPARE(d.window().caption("lblAnswer"), target.toStdString());
    QCOMPARE(d.window().caption("lblOper"), std::string(1, operation));
    QCOMPARE(d.window().caption("lblPart1"), "?");
    QCOMPARE(d.window().caption("lblPart2"), "?");
    for (int i = 0; i < kBoardButtons; ++i) {
        QCOMPARE(d.window().buttonColour(i), kLightBlue);
        const std::string expected = i == firstButton    ? firstNumber.toStdString()
                                     : i == secondButton ? secondNumber.toStdString()
                                                         : "1";
        QCOMPARE(d.window().buttonCaption(i), expected);
    }
}

void QuestionCycleTest::rangesOverManyQuestions_data() {
    QTest::addColumn<char>("operation");
    QTest::addColumn<int>("level");
    for (const char operation : {'-', '+'}) {
        for (int level = 1; level <= 5; ++level) {
            QTest::addRow("%s level %d", operation == '-' ? "subtraction" : "addition", level)
                << operation << level;
        }
    }
}

void QuestionCycleTest::rangesOverManyQuestions() {
    QFETCH(char, operation);
    QFETCH(int, level);

    Scene scene(static_cast<std::uint64_t>(level) * 7919 + static_cast<std::uint64_t>(operation));
    SimDesktop& d = scene.desktop;
    d.start();
    std::set<int> targets;
    int largestOnBoard = 0;
    for (int question = 0; question < 1000; ++question) {
        d.menu(operation, level);
        const int target = static_cast<int>(TextValue(d.window().caption("lblAnswer")));
        const std::vector<int> numbers = boardNumbers(d.window());
        targets.insert(target);
        largestOnBoard =
            std::max(largestOnBoard, *std::max_element(numbers.begin(), numbers.end()));

        QCOMPARE(d.window().buttonsColoured(kLightBlue).size(), std::size_t{kBoardButtons});
        QVERIFY(d.rightPair());
        QVERIFY(*std::min_element(numbers.begin(), numbers.end()) >= 1);
        const int decoyLimit = operation == '-' ? 10 * level : target - 2;
        const auto decoys =
            std::count_if(numbers.begin(), numbers.end(), [&](int n) { return n <= decoyLimit; });
        QVERIFY2(decoys >= kBoardButtons - 2, qPrintable(QString::number(decoys)));
        if (operation == '-') {
            QVERIFY(target >= 1 && target <= 15 * level - 2);
            // The last button only ever holds a decoy in subtraction.
            QVERIFY(numbers[35] <= 10 * level);
        } else {
            QVERIFY(target >= 4 * level && target <= 14 * level - 1);
            QVERIFY(*std::max_element(numbers.begin(), numbers.end()) <= target - 1);
        }
    }
    if (operation == '-') {
        QCOMPARE(largestOnBoard, 15 * level - 1);  // the largest minuend turns up
    } else {
        QCOMPARE(targets.size(), std::size_t(10 * level));  // every sum turns up
    }
}

void QuestionCycleTest::smallestAdditionAtLevelOne_data() {
    QTest::addColumn<double>("addendDraw");
    QTest::addColumn<std::set<int>>("allowed");
    QTest::addColumn<int>("threes");
    QTest::newRow("1 + 3") << 0.0 << std::set<int>{1, 2, 3} << 1;
    QTest::newRow("2 + 2") << 0.75 << std::set<int>{1, 2} << 0;
}

void QuestionCycleTest::smallestAdditionAtLevelOne() {
    QFETCH(double, addendDraw);
    QFETCH(std::set<int>, allowed);
    QFETCH(int, threes);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.random().feed({0.0, addendDraw});
    d.menu('+', 1);
    QCOMPARE(d.window().caption("lblAnswer"), "4");
    const std::vector<int> numbers = boardNumbers(d.window());
    for (const int n : numbers) {
        QVERIFY(allowed.count(n) == 1);
    }
    QCOMPARE(std::count(numbers.begin(), numbers.end(), 3), threes);
    QVERIFY(d.rightPair());
}

void QuestionCycleTest::firstQuestionOfAGame() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.runFor(2.0);
    d.menu('-', 3);

    const GameState& s = d.state();
    QVERIFY(s.GameActive);
    QCOMPARE(s.Operation, "-");
    QCOMPARE(s.Level, 3);
    QCOMPARE(s.TotalPoints, 0);
    QCOMPARE(s.QuestionNumber, 1);
    QCOMPARE(s.QuestionValue, 1100);
    QCOMPARE(s.PickCount, 0);
    QCOMPARE(d.window().caption("lblQuestionNumber"), "1");
    QCOMPARE(d.window().caption("lblScore"), "0");
    QCOMPARE(d.window().caption("lblLevel"), "3");
    QCOMPARE(d.window().caption("lblPoints"), "1000");  // untouched until the first tick
    QVERIFY(d.timerEnabled(Timer::tmrCounter));
    QVERIFY(d.timerEnabled(Timer::tmrPoints));
    QVERIFY(!d.timerEnabled(Timer::tmrInit));
}

void QuestionCycleTest::levelChosenMidGameStartsAfresh() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('-', 1);
    answerRightAt(d, d.now() + 0.5);
    answerRightAt(d, d.now() + 0.5);
    QCOMPARE(d.state().TotalPoints, 2000);
    QCOMPARE(d.state().QuestionNumber, 3);

    d.runFor(4.0);
    d.menu('+', 2);
    QCOMPARE(d.state().TotalPoints, 0);
    QCOMPARE(d.window().caption("lblScore"), "0");
    QCOMPARE(d.window().caption("lblQuestionNumber"), "1");
    QCOMPARE(d.window().caption("lblLevel"), "2");
    QCOMPARE(d.window().caption("lblOper"), "+");
    QCOMPARE(d.state().QuestionValue, 1100);
    EXPECT_NO_VIOLATIONS(scene);
}

void QuestionCycleTest::sameClockReadingStillGivesANewQuestion() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('+', 5);
    const double reading = d.random().lastReseed();
    const std::vector<int> first = boardNumbers(d.window());
    d.menu('+', 5);
    QCOMPARE(d.random().lastReseed(), reading);
    QVERIFY(boardNumbers(d.window()) != first);
}

QTEST_GUILESS_MAIN(QuestionCycleTest)
#include "tst_questions.moc"
