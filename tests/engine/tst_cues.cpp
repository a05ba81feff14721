// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

class CueOrderTest : public QObject {
    Q_OBJECT

private slots:
    // Each event's cue at its point among the window's changes, on 8 - 3 = 5.
    void cueAtItsPoint_data() {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("steps");  // separated by " | "
        QTest::newRow("a pick, then the first button again")
            << "same"
            << "click 0 | cue select.wav | lblPart1=8 | click 0 | cue select.wav";
        QTest::newRow("right answer")
            << "right"
            << "cue select.wav | lblPart2=3 | tmrCounter off | lblScore=1000 | cue good.wav | "
               "announce RightAnswer 1000 | tmrPoints off | lblQuestionNumber=2";
        QTest::newRow("wrong answer") << "wrong"
                                      << "cue select.wav | lblPart2=8 | cue bad.wav | "
                                         "announce WrongDifference 3 8 5 | lblPart1=?";
        QTest::newRow("time-out") << "timeout"
                                  << "tick tmrCounter | tmrPoints off | tmrCounter off | "
                                     "cue timeup.wav | announce TimeUp | lblQuestionNumber=2";
        QTest::newRow("game over without a high score")
            << "finish"
            << "tmrCounter off | tmrPoints off | cue finish.wav | announce FinalScore 0 | "
               "message GameOver | closed GameOver | centre";
        QTest::newRow("game over with a high score")
            << "hiscore"
            << "tmrCounter off | tmrPoints off | cue hiscore.wav | "
               "heard with the prompt: FinalScore 1000 | prompt HighScorePrompt | closed "
               "HighScorePrompt | highscores shown | centre";
    }

    void cueAtItsPoint() {
        QFETCH(QString, event);
        QFETCH(QString, steps);

        Scene d;
        const std::size_t mark = d.trace().size();
        startScriptedQuestion(d, '-');
        if (event == "same") {
            d.click(0);
            d.click(0);
        } else if (event == "right" || event == "wrong") {
            d.click(event == "right" ? 0 : 17);
            d.click(event == "right" ? 17 : 0);
        } else if (event == "timeout") {
            d.runFor(24.5);
        } else {
            d.runUntil(d.now() + 9 * 24.0 + 0.5);
            if (event == "hiscore") {
                clickPair(d, true);
            } else {
                d.runFor(24.0);
            }
        }

        std::vector<std::string> expected;
        for (const QString& step : steps.split(QStringLiteral(" | "))) {
            expected.push_back(step.toStdString());
        }
        EXPECT_IN_ORDER(d, mark, expected);
        for (const PlayedCue& played : d.sound().cues()) {
            QCOMPARE(played.mode, played.cue == Cue::Select ? CueMode::Wait : CueMode::Async);
        }
        EXPECT_NO_VIOLATIONS(d);
    }
};

QTEST_GUILESS_MAIN(CueOrderTest)
#include "tst_cues.moc"
