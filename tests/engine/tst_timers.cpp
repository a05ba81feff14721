// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

class QuestionTimersTest : public QObject {
    Q_OBJECT

private slots:
    // What a right answer is worth, judged half a second after a decay tick, and what the
    // points label shows then: the value capped at 1000, the window's own "1000" before the
    // first tick.
    void worthOfARightAnswer_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("worth");
        for (int ticks = 0; ticks <= 22; ++ticks) {
            QTest::addRow("after %d ticks", ticks) << ticks << std::min(1000, 1100 - 50 * ticks);
        }
    }

    void worthOfARightAnswer() {
        QFETCH(int, ticks);
        QFETCH(int, worth);

        Scene d;
        d.menu('-', 4);
        const double start = d.now();
        const std::size_t mark = d.trace().size();
        d.runUntil(start + ticks + 0.5);
        QCOMPARE(d.state().QuestionValue, 1100 - 50 * ticks);
        QCOMPARE(d.window().caption("lblPoints"), std::to_string(worth));
        clickPair(d, true);

        QCOMPARE(d.state().TotalPoints, worth);
        QCOMPARE(d.sound().count(Cue::Good), 1);
        QCOMPARE(d.sound().count(Cue::TimeUp), 0);
        QCOMPARE(d.state().QuestionNumber, 2);
        // The next question follows the right answer's cue by one second.
        const double good = timeOf(d, "cue good.wav", mark);
        QVERIFY(near(timeOf(d, "lblQuestionNumber=2", mark), good + 1));
        EXPECT_NO_VIOLATIONS(d);
    }

    void unansweredQuestionTimesOutAfter23Seconds_data() {
        QTest::addColumn<bool>("decayTickFirst");
        QTest::addColumn<QString>("pointsShown");
        QTest::newRow("time-out first") << false << "0";
        QTest::newRow("decay tick first") << true << "-50";
    }

    void unansweredQuestionTimesOutAfter23Seconds() {
        QFETCH(bool, decayTickFirst);
        QFETCH(QString, pointsShown);

        Scene d;
        d.setDecayTickFirstOnTies(decayTickFirst);
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
        EXPECT_NO_VIOLATIONS(d);
    }

    void ticksMissedWhileSelectPlaysArriveAsOne() {
        Scene d;
        d.sound().setLength(Cue::Select, 3.2);
        d.menu('+', 1);
        const double start = d.now();
        const std::size_t mark = d.trace().size();

        d.clickAt(start + 0.5, 0);  // holds the thread until 3.7 s
        d.runUntil(start + 3.75);
        QCOMPARE(d.state().QuestionValue, 1050);
        const auto ticks = d.traceSince(mark);
        QCOMPARE(std::count(ticks.begin(), ticks.end(), "tick tmrPoints"), 1);
        QVERIFY(near(timeOf(d, "tick tmrPoints", mark), start + 3.7));
        // The pick is shown only once the cue has played out.
        QVERIFY(near(timeOf(d, "lblPart1=" + d.window().buttonCaption(0), mark), start + 3.7));

        // The timer goes on from its late tick.
        d.runUntil(start + 4.65);
        QCOMPARE(d.state().QuestionValue, 1050);
        d.runUntil(start + 4.75);
        QCOMPARE(d.state().QuestionValue, 1000);
    }

    void pauseLastsOneSecond_data() {
        QTest::addColumn<double>("timeOfDay");
        QTest::newRow("midday") << 43200.0;
        QTest::newRow("just before midnight") << 86399.7;
    }

    void pauseLastsOneSecond() {
        QFETCH(double, timeOfDay);

        Scene d;
        d.menu('+', 3);
        d.runFor(1.5);
        d.setTimeOfDay(timeOfDay);
        const std::size_t mark = d.trace().size();
        clickPair(d, false);

        const double bad = timeOf(d, "cue bad.wav", mark);
        const double cleared = timeOf(d, "lblPart1=?", mark);
        QVERIFY(bad > 0);
        QVERIFY2(near(cleared, bad + 1), qPrintable(QString::number(cleared - bad)));
    }
};

QTEST_GUILESS_MAIN(QuestionTimersTest)
#include "tst_timers.moc"
