// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

namespace {

// What a screen reader was told since `from`: "QuestionSubtraction 1 5", "TimeUp".
QStringList spoken(const SimDesktop& d, std::size_t from = 0) {
    QStringList said;
    for (const std::string& entry : d.traceSince(from)) {
        if (entry.starts_with("announce ")) {
            said.append(QString::fromStdString(entry.substr(9)));
        }
    }
    return said;
}

}  // namespace

class SpeechTest : public QObject {
    Q_OBJECT

private slots:
    // The question is told when it appears, with its number, target and operation; on the
    // scripted boards 8 - 3 = 5 and 6 + 6 = 12.
    void questionToldWhenItAppears_data() {
        QTest::addColumn<char>("operation");
        QTest::addColumn<QString>("question");
        QTest::newRow("subtraction") << '-' << "QuestionSubtraction 1 5";
        QTest::newRow("addition") << '+' << "QuestionAddition 1 12";
    }
    void questionToldWhenItAppears() {
        QFETCH(char, operation);
        QFETCH(QString, question);
        Scene d;
        const std::size_t mark = d.trace().size();
        startScriptedQuestion(d, operation);
        // Told once the board and the target stand, not before.
        EXPECT_IN_ORDER(
            d, mark,
            {operation == '-' ? "lblOper=-" : "lblOper=+", "announce " + question.toStdString()});
        QCOMPARE(spoken(d, mark), QStringList{question});
        EXPECT_NO_VIOLATIONS(d);
    }

    // Ten questions are told, and not the one drawn on the idle board after the game's end.
    void everyQuestionOfAGameAndNoMore() {
        Scene d;
        playGame(d, '-', 2, scoring({1000, 950, -1, 800}));
        const QStringList said = spoken(d);
        QStringList questions;
        for (const QString& s : said) {
            if (s.startsWith(QStringLiteral("QuestionSubtraction "))) {
                questions.append(s.section(u' ', 0, 1));
            }
        }
        QStringList expected;
        for (int number = 1; number <= 10; ++number) {
            expected.append(QStringLiteral("QuestionSubtraction %1").arg(number));
        }
        QCOMPARE(questions, expected);
        // A high score: the prompt that asks for the name carries the final score.
        QVERIFY(timeOf(d, "heard with the prompt: FinalScore 2750") > 0);
        EXPECT_NO_VIOLATIONS(d);
    }

    // The clock speaks once, five seconds before the end, and not on the other seconds; a
    // wrong pair does not silence it, a right answer before it does.
    void clockWarnsOnceNeverEachSecond() {
        Scene d;
        startScriptedQuestion(d, '-');
        const double start = d.now();
        const std::size_t mark = d.trace().size();
        d.clickAt(start + 10.5, 17);
        d.clickAt(start + 11.0, 0);  // 3 - 8: wrong
        d.runFor(23.5);
        const QStringList said = spoken(d, mark);
        QCOMPARE(said.filter(QStringLiteral("SecondsLeft")), QStringList{"SecondsLeft 5"});
        QVERIFY(near(timeOf(d, "announce SecondsLeft 5", mark), start + 18.0));
        QCOMPARE(said.filter(QStringLiteral("TimeAlmostUp")).size(), 0);
        QCOMPARE(said.count(QStringLiteral("TimeUp")), 1);

        // Question 2, answered just before the warning: its clock says nothing in the pause,
        // whose decay ticks still fall.
        const std::size_t second = d.trace().size();
        d.runFor(17.4);
        clickPair(d, true);
        d.runFor(1.5);
        QCOMPARE(spoken(d, second).filter(QStringLiteral("SecondsLeft")).size(), 0);
        EXPECT_NO_VIOLATIONS(d);
    }

    // F5: the question again with what the player needs to go on; outside a game, how to
    // start one.
    void questionOnRequest_data() {
        QTest::addColumn<QString>("moment");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("no game yet") << "idle" << QStringList{"NoGame"};
        QTest::newRow("at once") << "start"
                                 << QStringList{"QuestionSubtraction 1 5", "SecondsLeft 23",
                                                "Score 0"};
        QTest::newRow("a pick waiting for its pair")
            << "picked"
            << QStringList{"QuestionSubtraction 1 5", "Picked 8", "SecondsLeft 20", "Score 0"};
        QTest::newRow("in the last second")
            << "late" << QStringList{"QuestionSubtraction 1 5", "TimeAlmostUp", "Score 0"};
        QTest::newRow("answered, waiting for the next question")
            << "answered" << QStringList{"QuestionSubtraction 1 5", "Score 1000"};
        QTest::newRow("after the game") << "over" << QStringList{"NoGame"};
    }
    void questionOnRequest() {
        QFETCH(QString, moment);
        QFETCH(QStringList, said);
        Scene d;
        if (moment == "over") {
            playGame(d, '-', 1, scoring({}));
        } else if (moment != "idle") {
            startScriptedQuestion(d, '-');
        }
        const double start = d.now();
        double when = start + 0.5;
        if (moment == "picked") {
            d.clickAt(start + 2.5, 0);
            when = start + 3.5;
        } else if (moment == "late") {
            when = start + 22.5;
        } else if (moment == "answered") {
            d.clickAt(start + 0.2, 0);
            d.clickAt(start + 0.3, 17);
        }
        // The key arrives as an event, also inside the pause after an answer.
        QStringList heard;
        d.at(when, "key F5", [&d, &heard] {
            const std::size_t mark = d.trace().size();
            d.engine().repeatQuestion();
            heard = spoken(d, mark);
        });
        d.runUntil(when + 0.01);
        QCOMPARE(heard.join(u'|'), said.join(u'|'));
        EXPECT_NO_VIOLATIONS(d);
    }
};

QTEST_GUILESS_MAIN(SpeechTest)
#include "tst_speech.moc"
