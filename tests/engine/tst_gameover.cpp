// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"
#include "Scenes.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

namespace {

// After a game: idle, with one more question drawn onto the board, which ignores clicks.
void checkIdleAfterGame(SimDesktop& d, int finalScore, char operation) {
    QVERIFY(!d.state().GameActive);
    QCOMPARE(d.state().QuestionNumber, 11);
    QCOMPARE(d.state().TotalPoints, finalScore);
    QCOMPARE(d.window().caption("lblQuestionNumber"), "11");
    QCOMPARE(d.window().caption("lblScore"), std::to_string(finalScore));
    QVERIFY(d.timerEnabled(Timer::tmrInit));
    QVERIFY(!d.timerEnabled(Timer::tmrCounter) && !d.timerEnabled(Timer::tmrPoints));
    QCOMPARE(d.window().centred(), 2);
    QCOMPARE(d.window().caption("lblOper"), std::string(1, operation));
    QVERIFY(d.window().caption("lblAnswer") != "?");
    QCOMPARE(d.window().caption("lblPart1"), "?");
    QCOMPARE(d.window().buttonsColoured(kLightBlue).size(), std::size_t{kBoardButtons});

    const std::size_t cues = d.sound().cues().size();
    d.click(0);
    QCOMPARE(d.sound().cues().size(), cues);
    QCOMPARE(d.window().buttonColour(0), kLightBlue);
}

}  // namespace

class GameOverTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheIdleWindow() {
        Scene d;
        QCOMPARE(d.window().centred(), 1);
        for (const char* name : {"lblPart1", "lblPart2", "lblAnswer"}) {
            QCOMPARE(d.window().caption(name), "?");
        }
        QCOMPARE(d.window().caption("lblOper"), "+");
        QCOMPARE(d.window().caption("lblScore"), "0");
        for (int i = 0; i < kBoardButtons; ++i) {
            const double number = TextValue(d.window().buttonCaption(i));
            QVERIFY(number >= 1 && number <= 25);
            const int colour = d.window().buttonColour(i);
            QVERIFY(colour == kLightBlue || colour == kLightGreen);
        }
        QCOMPARE(d.random().draws(), std::size_t{2 * kBoardButtons});
        QVERIFY(!d.state().GameActive);
        QVERIFY(d.timerEnabled(Timer::tmrInit));
        QVERIFY(!d.timerEnabled(Timer::tmrCounter) && !d.timerEnabled(Timer::tmrPoints));

        // No file yet: the default table, written anew.
        QVERIFY(d.engine().table() == HighScoreTable::DefaultHighScores());
        const std::string bytes = d.fileBytes();
        QVERIFY(bytes.starts_with("\" 1000\",\"Quill\",\" 1\"\r\n"));
        QCOMPARE(std::ranges::count(bytes, '\n'), 10);
    }

    void gameEnds_data() {
        QTest::addColumn<std::vector<int>>("worths");
        QTest::addColumn<int>("finalScore");
        QTest::addColumn<int>("answer");  // 0 typed, 1 OK with nothing typed, 2 cancelled
        QTest::addColumn<int>("slot");    // 0: no place in the table
        QTest::addColumn<QString>("name");

        const auto ada = QStringLiteral("Ada");
        QTest::newRow("score 0") << scoring({}) << 0 << 0 << 0 << "";
        QTest::newRow("score 100 ties the last entry") << scoring({100}) << 100 << 0 << 0 << "";
        QTest::newRow("score 150 beats it") << scoring({-1, 150}) << 150 << 0 << 9 << ada;
        QTest::newRow("1050, name typed") << scoring({1000, 50}) << 1050 << 0 << 1 << ada;
        QTest::newRow("1050, OK on an empty name") << scoring({1000, 50}) << 1050 << 1 << 1 << "";
        QTest::newRow("1050, prompt cancelled") << scoring({50, 1000}) << 1050 << 2 << 1 << "";
        QTest::newRow("all ten right at once")
            << std::vector<int>(10, 1000) << 10000 << 0 << 1 << "Ada, \"the\" great";
    }

    void gameEnds() {
        QFETCH(std::vector<int>, worths);
        QFETCH(int, finalScore);
        QFETCH(int, answer);
        QFETCH(int, slot);
        QFETCH(QString, name);

        Scene d;
        d.runFor(1.0);
        const DialogAnswer answers[] = {DialogAnswer::typed(name.toStdString(), 2.0),
                                        DialogAnswer::ok(2.0), DialogAnswer::cancel(2.0)};
        d.dialogs().queue(slot ? answers[answer] : DialogAnswer::ok(2.0));
        playGame(d, '-', 3, worths);

        QCOMPARE(d.checker.gamesEnded(), 1);
        QCOMPARE(d.dialogs().records().size(), std::size_t{1});
        const Message& message = d.dialogs().records().front().message;
        if (!slot) {
            QCOMPARE(message, Message(MessageId::GameOver, finalScore));
            QCOMPARE(d.sound().count(Cue::HighScore), 0);
            QVERIFY(d.highScoreWindow().shown().empty());
            QVERIFY(d.engine().table().HighNames == HighScoreTable::DefaultHighScores().HighNames);
        } else {
            QCOMPARE(message, Message(MessageId::HighScorePrompt));
            QCOMPARE(d.sound().count(Cue::Finish), 0);

            // The window shows the table as placed; the reload then reads back the file's texts.
            const auto entry = static_cast<std::size_t>(slot - 1);
            QCOMPARE(d.highScoreWindow().shown().size(), std::size_t{1});
            const HighScoreTable& shown = d.highScoreWindow().shown().front();
            QCOMPARE(shown.HighScores[entry], std::to_string(finalScore));
            QCOMPARE(shown.HighLevels[entry], "3");
            const HighScoreTable& table = d.engine().table();
            const std::string stored = ' ' + std::to_string(finalScore);  // the file's sign column
            QCOMPARE(table.HighScores[entry], stored);
            QCOMPARE(table.HighNames[entry], shown.HighNames[entry]);
            QCOMPARE(table.HighLevels[entry], " 3");
            QCOMPARE(table.HighNames[9], slot == 10 ? shown.HighNames[9] : "Yarrow");
            QVERIFY(!d.engine().hasUnsavedScores());
            if (name.contains('"')) {
                QVERIFY(!shown.HighNames[entry].empty());  // made safe for the file, not lost
            } else {
                QCOMPARE(shown.HighNames[entry], name.toStdString());
            }
            QVERIFY(d.fileBytes().find(stored + "\",\"") != std::string::npos);
        }
        checkIdleAfterGame(d, finalScore, '-');
        EXPECT_NO_VIOLATIONS(d);
    }

    void dialogLeftOpenPastTheTimeLimit_data() {
        QTest::addColumn<std::vector<int>>("worths");
        QTest::addColumn<Cue>("cue");
        QTest::newRow("final-score message") << scoring({}) << Cue::Finish;
        QTest::newRow("name prompt") << scoring({1000, 50}) << Cue::HighScore;
    }

    void dialogLeftOpenPastTheTimeLimit() {
        QFETCH(std::vector<int>, worths);
        QFETCH(Cue, cue);

        Scene d;
        d.dialogs().queue(DialogAnswer::typed("Slow", 60.0));
        playGame(d, '+', 2, worths);
        const DialogRecord& dialog = d.dialogs().records().at(0);
        QVERIFY(dialog.closedAt - dialog.openedAt >= 60.0);

        checkIdleAfterGame(d, d.state().TotalPoints, '+');
        d.runFor(60.0);
        QCOMPARE(d.window().caption("lblQuestionNumber"), "11");
        QCOMPARE(d.sound().count(cue), 1);
        QCOMPARE(d.sound().count(Cue::TimeUp), std::ranges::count(worths, -1));
        QCOMPARE(d.dialogs().records().size(), std::size_t{1});
        QCOMPARE(d.checker.gamesEnded(), 1);
        QCOMPARE(std::ranges::count(d.engine().table().HighNames, "Slow"),
                 cue == Cue::HighScore ? 1 : 0);
        EXPECT_NO_VIOLATIONS(d);
    }

    void scoresKeptWhenTheDiskRefusesThem() {
        Scene d(1, {}, false);
        HighScoreFile::SaveHooks refuse;
        refuse.write = [](std::size_t) -> long { return 0; };  // the disk is full
        d.scoreFile().setSaveHooks(refuse);

        // Start-up still ends idle, with the default table and nothing said.
        d.start();
        QVERIFY(!d.state().GameActive);
        QVERIFY(d.engine().table() == HighScoreTable::DefaultHighScores());
        QVERIFY(d.dialogs().records().empty());

        d.dialogs().queue(DialogAnswer::typed("Ada"));
        const std::size_t mark = d.trace().size();
        playGame(d, '-', 2, scoring({1000, 50}));
        EXPECT_IN_ORDER(d, mark,
                        {"closed HighScorePrompt", "message ScoresNotSaved", "highscores shown"});
        QVERIFY(d.engine().hasUnsavedScores());

        // Told once per run; the second entry joins the first, also in the window.
        d.dialogs().queue(DialogAnswer::typed("Bo"));
        playGame(d, '-', 2, scoring({1000, 100}));
        QCOMPARE(d.dialogs().count(MessageId::ScoresNotSaved), 1);
        d.highScoresMenu();
        const HighScoreTable& shown = d.highScoreWindow().shown().back();
        QCOMPARE(shown.HighNames[0], "Bo");
        QCOMPARE(shown.HighNames[1], "Ada");

        // Once the disk takes writes again, the kept entries reach the file.
        d.scoreFile().setSaveHooks({});
        d.highScoresMenu();
        QVERIFY(!d.engine().hasUnsavedScores());
        QVERIFY(
            d.fileBytes().starts_with("\" 1100\",\"Bo\",\" 2\"\r\n\" 1050\",\"Ada\",\" 2\"\r\n"));
        EXPECT_NO_VIOLATIONS(d);
    }

    // Two copies of the game from one program folder, both started before either game ends:
    // the file keeps both high scores, and the copy that saves last shows both.
    void twoCopiesOnOneFolderKeepBothHighScores() {
        Scene alpha(1, {}, false);
        SimDesktop bravo(alpha.folder.path().toStdString(),
                         alpha.folder.path().toStdString() + "/data", 2);
        alpha.start();
        bravo.start();

        alpha.dialogs().queue(DialogAnswer::typed("ALPHA"));
        playGame(alpha, '-', 2, scoring({1000, 50}));
        bravo.dialogs().queue(DialogAnswer::typed("BRAVO"));
        playGame(bravo, '-', 2, scoring({1000, 100}));

        QVERIFY(alpha.fileBytes().starts_with(
            "\" 1100\",\"BRAVO\",\" 2\"\r\n\" 1050\",\"ALPHA\",\" 2\"\r\n\" 1000\",\"Quill\""));
        const HighScoreTable& shown = bravo.highScoreWindow().shown().back();
        QCOMPARE(shown.HighNames[0], "BRAVO");
        QCOMPARE(shown.HighNames[1], "ALPHA");
        QCOMPARE(bravo.engine().table().HighNames[1], "ALPHA");
        QVERIFY(!bravo.engine().hasUnsavedScores());
        EXPECT_NO_VIOLATIONS(alpha);
    }
};

QTEST_GUILESS_MAIN(GameOverTest)
#include "tst_gameover.moc"
