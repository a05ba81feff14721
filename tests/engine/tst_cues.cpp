#include <QTest>

#include "Scenes.h"

using namespace brightsum;
using namespace brightsum::sim;

class CueOrderTest : public QObject {
    Q_OBJECT

private slots:
    void cueAtItsPoint_data();
    void cueAtItsPoint();
    void selectHoldsTheThreadForItsLength();
};

void CueOrderTest::cueAtItsPoint_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("accepted click")
        << "pick" << QStringList{"click 0", "cue select.wav", "lblPart1=8"};
    QTest::newRow("first button again")
        << "same"
        << QStringList{"click 0", "cue select.wav", "lblPart1=8", "click 0", "cue select.wav"};
    QTest::newRow("right answer") << "right"
                                  << QStringList{"cue select.wav", "lblPart2=3",
                                                 "tmrCounter off", "lblScore=1000",
                                                 "cue good.wav",   "announce Right answer.",
                                                 "tmrPoints off",  "lblQuestionNumber=2"};
    QTest::newRow("wrong answer") << "wrong"
                                  << QStringList{"cue select.wav", "lblPart2=8", "cue bad.wav",
                                                 "announce Wrong answer. Try again.", "lblPart1=?"};
    QTest::newRow("time-out") << "timeout"
                              << QStringList{"tick tmrCounter",      "tmrPoints off",
                                             "tmrCounter off",       "cue timeup.wav",
                                             "announce Time is up.", "lblQuestionNumber=2"};
    QTest::newRow("game over without a high score")
        << "finish"
        << QStringList{"tmrCounter off",
                       "tmrPoints off",
                       "cue finish.wav",
                       "announce Game over. Your final score is 0.",
                       "message Game Over",
                       "closed Game Over",
                       "centre"};
    QTest::newRow("game over with a high score")
        << "hiscore"
        << QStringList{"tmrCounter off",    "tmrPoints off",
                       "cue hiscore.wav",   "announce Game over. Your final score is 1000.",
                       "prompt High Score", "closed High Score",
                       "highscores shown",  "centre"};
}

void CueOrderTest::cueAtItsPoint() {
    QFETCH(QString, event);
    QFETCH(QStringList, steps);

    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    // 8 - 3 = 5 at level 1, with 8 on button 0 and 3 on button 17.
    std::vector<double> draws{0.35, 0.3};
    draws.insert(draws.end(), kBoardButtons, 0.05);
    draws.insert(draws.end(), {0.01, 0.5});
    d.random().feed(draws);
    const std::size_t mark = d.trace().size();
    d.menu('-', 1);

    if (event == "pick" || event == "same") {
        d.click(0);
        if (event == "same") {
            d.click(0);
        }
    } else if (event == "right") {
        d.click(0);
        d.click(17);
    } else if (event == "wrong") {
        d.click(17);
        d.click(0);
    } else if (event == "timeout") {
        d.runFor(24.5);
    } else {
        d.runUntil(d.now() + 9 * 24.0 + 0.5);
        if (event == "hiscore") {
            answerRightAt(d, d.now());
        } else {
            d.runFor(24.0);
        }
    }

    std::vector<std::string> expected;
    for (const QString& step : steps) {
        expected.push_back(step.toStdString());
    }
    EXPECT_IN_ORDER(d, mark, expected);
    for (const PlayedCue& cue : d.sound().cues()) {
        QCOMPARE(cue.mode, cue.file == "select.wav" ? CueMode::Wait : CueMode::Async);
    }
    EXPECT_NO_VIOLATIONS(scene);
}

void CueOrderTest::selectHoldsTheThreadForItsLength() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.sound().setLength("select.wav", 0.25);
    d.start();
    d.menu('+', 1);
    const double clicked = d.now();
    d.click(3);
    // The pick is shown only once the cue has played out.
    const std::size_t at = d.trace().size() - 1;
    QCOMPARE(d.trace()[at].what.substr(0, 9), "lblPart1=");
    QVERIFY(std::abs(d.trace()[at].time - (clicked + 0.25)) < 1e-6);
}

QTEST_GUILESS_MAIN(CueOrderTest)
#include "tst_cues.moc"
