#include <QTest>

#include "Scenes.h"

using namespace brightsum;
using namespace brightsum::sim;

namespace {

constexpr double kMicro = 1e-6;

bool near(double a, double b, double tolerance = 3 * kMicro) {
    return std::abs(a - b) <= tolerance;
}

}  // namespace

class QuestionTimersTest : public QObject {
    Q_OBJECT

private slots:
    void valueDrainsSecondBySecond();
    void unansweredQuestionTimesOutAfter23Seconds_data();
    void unansweredQuestionTimesOutAfter23Seconds();
    void worthOfARightAnswer_data();
    void worthOfARightAnswer();
    void ticksMissedWhileSelectPlaysArriveAsOne();
    void wrongAnswerLeavesTheClockRunning();
    void pauseLastsOneSecond_data();
    void pauseLastsOneSecond();
};

void QuestionTimersTest::valueDrainsSecondBySecond() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('-', 1);
    const double start = d.now();
    for (int k = 0; k <= 22; ++k) {
        d.runUntil(start + k + 0.5);
        QCOMPARE(d.state().QuestionValue, 1100 - 50 * k);
        // Before the first tick the label keeps what it had: the window's "1000".
        const std::string shown = std::to_string(std::min(1000, 1100 - 50 * k));
        QCOMPARE(d.window().caption("lblPoints"), shown);
    }
    QCOMPARE(d.sound().count("timeup.wav"), 0);
}

void QuestionTimersTest::unansweredQuestionTimesOutAfter23Seconds_data() {
    QTest::addColumn<bool>("decayTickFirst");
    QTest::addColumn<QString>("pointsShown");
    QTest::newRow("time-out first") << false << "0";
    QTest::newRow("decay tick first") << true << "-50";
}

void QuestionTimersTest::unansweredQuestionTimesOutAfter23Seconds() {
    QFETCH(bool, decayTickFirst);
    QFETCH(QString, pointsShown);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.setDecayTickFirstOnTies(decayTickFirst);
    d.start();
    d.menu('+', 2);
    const double start = d.now();
    const std::size_t mark = d.trace().size();

    // Seen from inside the time-out's pause.
    std::string pointsInPause;
    bool timersInPause = true;
    int questionInPause = 0;
    d.at(start + 23.5, "look", [&] {
        pointsInPause = d.window().caption("lblPoints");
        timersInPause = d.timerEnabled(Timer::tmrCounter) || d.timerEnabled(Timer::tmrPoints);
        questionInPause = d.state().QuestionNumber;
    });
    d.runUntil(start + 23.9);
    QVERIFY(near(timeOf(d, "cue timeup.wav", mark), start + 23));
    EXPECT_IN_ORDER(d, mark, {"tmrPoints off", "tmrCounter off", "cue timeup.wav", "look"});
    QCOMPARE(pointsInPause, pointsShown.toStdString());
    QVERIFY(!timersInPause);
    QCOMPARE(questionInPause, 1);

    // The next question one second after the time-out, with the score unchanged and the
    // points label left as it was until the new question's first tick.
    d.runUntil(start + 24.5);
    QCOMPARE(d.state().QuestionNumber, 2);
    QCOMPARE(d.window().caption("lblQuestionNumber"), "2");
    QCOMPARE(d.window().caption("lblScore"), "0");
    QCOMPARE(d.window().caption("lblPoints"), pointsShown.toStdString());
    d.runUntil(start + 25.5);
    QCOMPARE(d.window().caption("lblPoints"), "1000");
    EXPECT_NO_VIOLATIONS(scene);
}

void QuestionTimersTest::worthOfARightAnswer_data() {
    QTest::addColumn<double>("after");
    QTest::addColumn<int>("worth");
    QTest::newRow("before the first tick") << 0.5 << 1000;
    QTest::newRow("after one tick") << 1.5 << 1000;
    QTest::newRow("after two ticks") << 2.5 << 1000;
    QTest::newRow("after three ticks") << 3.5 << 950;
    QTest::newRow("after ten ticks") << 10.5 << 600;
    QTest::newRow("after 21 ticks") << 21.5 << 50;
    QTest::newRow("after 22 ticks") << 22.5 << 0;
}

void QuestionTimersTest::worthOfARightAnswer() {
    QFETCH(double, after);
    QFETCH(int, worth);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('-', 4);
    const double start = d.now();
    const std::size_t mark = d.trace().size();
    answerRightAt(d, start + after);

    QCOMPARE(d.state().TotalPoints, worth);
    QCOMPARE(d.sound().count("good.wav"), 1);
    QCOMPARE(d.state().QuestionNumber, 2);
    // The next question follows the right answer's cue by one second.
    const double good = timeOf(d, "cue good.wav", mark);
    QVERIFY(near(timeOf(d, "lblQuestionNumber=2", mark), good + 1));
    EXPECT_NO_VIOLATIONS(scene);
}

void QuestionTimersTest::ticksMissedWhileSelectPlaysArriveAsOne() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.sound().setLength("select.wav", 3.2);
    d.start();
    d.menu('+', 1);
    const double start = d.now();
    const std::size_t mark = d.trace().size();

    d.clickAt(start + 0.5, 0);  // holds the thread until 3.7 s
    d.runUntil(start + 3.75);
    QCOMPARE(d.state().QuestionValue, 1050);
    const auto ticks = d.traceSince(mark);
    QCOMPARE(std::count(ticks.begin(), ticks.end(), "tick tmrPoints"), 1);
    QVERIFY(near(timeOf(d, "tick tmrPoints", mark), start + 3.7));

    // The timer goes on from its late tick.
    d.runUntil(start + 4.65);
    QCOMPARE(d.state().QuestionValue, 1050);
    d.runUntil(start + 4.75);
    QCOMPARE(d.state().QuestionValue, 1000);
}

void QuestionTimersTest::wrongAnswerLeavesTheClockRunning() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('-', 2);
    const double start = d.now();
    const std::size_t mark = d.trace().size();

    d.runUntil(start + 5.5);
    const auto pair = d.wrongPair();
    QVERIFY(pair);
    d.click(pair->first);
    d.click(pair->second);
    QCOMPARE(d.sound().count("bad.wav"), 1);
    QCOMPARE(d.state().TotalPoints, 0);

    d.runUntil(start + 10.5);
    QCOMPARE(d.state().QuestionValue, 600);
    d.runUntil(start + 23.5);
    QVERIFY(near(timeOf(d, "cue timeup.wav", mark), start + 23));
    EXPECT_NO_VIOLATIONS(scene);
}

void QuestionTimersTest::pauseLastsOneSecond_data() {
    QTest::addColumn<double>("timeOfDay");
    QTest::newRow("midday") << 43200.0;
    QTest::newRow("just before midnight") << 86399.7;
}

void QuestionTimersTest::pauseLastsOneSecond() {
    QFETCH(double, timeOfDay);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    d.menu('+', 3);
    d.runFor(1.5);
    d.setTimeOfDay(timeOfDay);
    const std::size_t mark = d.trace().size();
    const auto pair = d.wrongPair();
    QVERIFY(pair);
    d.click(pair->first);
    d.click(pair->second);

    const double bad = timeOf(d, "cue bad.wav", mark);
    const double cleared = timeOf(d, "lblPart1=?", mark);
    QVERIFY(bad > 0);
    QVERIFY2(near(cleared, bad + 1), qPrintable(QString::number(cleared - bad)));
}

QTEST_GUILESS_MAIN(QuestionTimersTest)
#include "tst_timers.moc"
