// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"

#include <QFileInfo>
#include <QTest>

#include <random>

using namespace brightsum;
using namespace brightsum::sim;

// A thousand games and more, played by a restless player at random virtual times: right
// pairs, wrong pairs, stray clicks, the high-score menu, new games started mid-game (also
// inside pauses), and game-over dialogs answered at once or left open past the time limit.
// The checker looks at the rules after every event.
class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void randomGamesKeepTheRules();
};

void SoakTest::randomGamesKeepTheRules() {
    constexpr int kGames = 1000;
    const bool tmpfs = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    Scene d(20240601, tmpfs ? QStringLiteral("/dev/shm") : QString(), false);
    QVERIFY(d.folder.isValid());
    std::mt19937_64 rng(12345);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    const auto chance = [&](double p) { return uniform(0, 1) < p; };
    const auto operation = [&] { return chance(0.5) ? '+' : '-'; };
    const auto level = [&] { return static_cast<int>(rng() % 5) + 1; };

    d.dialogs().setResponder([&](const DialogRecord& dialog) {
        const double open = chance(0.1) ? uniform(23, 40) : uniform(0, 3);
        const double roll = uniform(0, 1);
        if (!dialog.prompt || roll < 0.2) {
            return DialogAnswer::ok(open);
        }
        if (roll < 0.4) {
            return DialogAnswer::cancel(open);
        }
        static const char* const kNames[] = {"Ada", "Bo, the bold", "\"Q\"", "  ", "Zoë"};
        return DialogAnswer::typed(kNames[rng() % 5], open);
    });

    const auto act = [&] {
        const double roll = uniform(0, 1);
        std::optional<std::pair<int, int>> pair;
        if (roll < 0.45) {
            pair = d.rightPair();
        } else if (roll < 0.6) {
            pair = d.wrongPair();
        }
        if (pair) {
            d.click(pair->first);
            d.clickAt(d.now() + uniform(0.0, 1.5), pair->second);
        } else if (roll < 0.9) {
            d.click(static_cast<int>(rng() % kBoardButtons));
        } else if (roll < 0.93) {
            d.highScoresMenu();
        } else if (roll < 0.94) {
            d.menu(operation(), level());
        }
    };

    d.start();
    int unfinished = 0;
    for (int game = 0; game < kGames; ++game) {
        // Some games on a window that lets input past its modal dialogs, and with the decay
        // tick winning the tie with the time-out, so that a pair found in the time-out's pause
        // meets a value of -50.
        d.setModalBlocksInput(chance(0.7));
        d.setDecayTickFirstOnTies(chance(0.5));
        d.runFor(uniform(0, 2));
        d.menu(operation(), level());
        const double start = d.now();
        for (double t = start + uniform(0, 3); t < start + 260; t += uniform(0.05, 6.0)) {
            d.at(t, "player", act);
        }
        const int ended = d.checker.gamesEnded();
        const bool abandon = chance(0.1);
        const double end = abandon ? start + uniform(0.5, 150) : start + 700;
        while (d.now() < end && d.checker.gamesEnded() == ended) {
            d.runFor(1.0);
        }
        if (!abandon && d.checker.gamesEnded() == ended) {
            ++unfinished;
        }
        EXPECT_NO_VIOLATIONS(d);
        d.clearTrace();
    }

    qInfo("%d games started, %d ended, %.1f virtual hours", d.checker.gamesStarted(),
          d.checker.gamesEnded(), d.now() / 3600);
    QCOMPARE(unfinished, 0);
    QVERIFY(d.checker.gamesStarted() >= kGames);
    QVERIFY(d.checker.gamesEnded() > kGames / 2);
    QVERIFY(d.highScoreWindow().shown().size() > 10);
    EXPECT_NO_VIOLATIONS(d);
}

QTEST_GUILESS_MAIN(SoakTest)
#include "tst_soak.moc"
