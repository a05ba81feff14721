// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scenes.h"
#include "SplitMixRandom.h"

#include <QTest>

using namespace brightsum;
using namespace brightsum::sim;

class IdleBoardTest : public QObject {
    Q_OBJECT

private slots:
    // The draw times 35, in single precision, rounded to the nearest button, ties to even.
    void tickPicksTheNearestButton_data() {
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("button");
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("0.5 goes to the even 0") << 0.5 / 35 << 0;
        QTest::newRow("1.5 goes to the even 2") << 1.5 / 35 << 2;
        QTest::newRow("2.5 goes to the even 2") << 2.5 / 35 << 2;
        QTest::newRow("just under 3.5 is 3.5 in single precision") << (3.5 - 1e-8) / 35 << 4;
        QTest::newRow("34.3") << 0.98 << 34;
        QTest::newRow("top draw reaches the last button") << 0.99999 << 35;
    }

    void tickPicksTheNearestButton() {
        QFETCH(double, draw);
        QFETCH(int, button);

        Scene d(1, {}, false);
        d.random().feed(std::vector<double>(2 * kBoardButtons, 0.0));  // every button "1", blue
        d.start();
        d.random().feed({draw, 0.999, 0.75});
        d.runUntil(0.25);  // the first tick, 200 ms after the window was made

        QCOMPARE(d.random().pending(), std::size_t{0});
        for (int i = 0; i < kBoardButtons; ++i) {
            QCOMPARE(d.window().buttonCaption(i), i == button ? "25" : "1");
            QCOMPARE(d.window().buttonColour(i), i == button ? kLightGreen : kLightBlue);
        }
    }

    void animationTouchesNothingElse() {
        Scene d;
        const std::size_t draws = d.random().draws();
        const std::size_t mark = d.trace().size();
        d.runFor(10.0);
        QCOMPARE(d.random().draws() - draws, std::size_t{3 * 50});  // three draws a tick
        QVERIFY(d.traceSince(mark).empty());                        // no label, timer or cue
        QVERIFY(!d.state().GameActive);
    }

    void generatorGivesFreshFractions() {
        SplitMixRandom random(42);
        double sum = 0;
        double low = 1;
        double high = 0;
        constexpr int kDraws = 100000;
        for (int i = 0; i < kDraws; ++i) {
            const double r = random.next();
            QVERIFY(r >= 0.0 && r < 1.0);
            sum += r;
            low = std::min(low, r);
            high = std::max(high, r);
        }
        QVERIFY(std::abs(sum / kDraws - 0.5) < 0.01);
        QVERIFY(low < 0.001 && high > 0.999);
        // Unseeded generators start apart.
        QVERIFY(SplitMixRandom().next() != SplitMixRandom().next());
    }
};

QTEST_GUILESS_MAIN(IdleBoardTest)
#include "tst_idle.moc"
