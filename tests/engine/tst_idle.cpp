#include <QTest>

#include <set>

#include "Scenes.h"
#include "SplitMixRandom.h"

using namespace brightsum;
using namespace brightsum::sim;

class IdleBoardTest : public QObject {
    Q_OBJECT

private slots:
    void tickPicksTheNearestButton_data();
    void tickPicksTheNearestButton();
    void everyButtonChangesInTime();
    void animationTouchesNothingElse();
    void generatorGivesFreshFractions();
};

void IdleBoardTest::tickPicksTheNearestButton_data() {
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

void IdleBoardTest::tickPicksTheNearestButton() {
    QFETCH(double, draw);
    QFETCH(int, button);

    Scene scene;
    SimDesktop& d = scene.desktop;
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

void IdleBoardTest::everyButtonChangesInTime() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    std::set<int> changed;
    for (int tick = 0; tick < 1000; ++tick) {
        std::vector<std::pair<std::string, int>> before;
        for (int i = 0; i < kBoardButtons; ++i) {
            before.emplace_back(d.window().buttonCaption(i), d.window().buttonColour(i));
        }
        d.runFor(0.2);
        for (int i = 0; i < kBoardButtons; ++i) {
            const auto now = std::pair{d.window().buttonCaption(i), d.window().buttonColour(i)};
            if (now != before[static_cast<std::size_t>(i)]) {
                changed.insert(i);
                const int number = std::stoi(now.first);
                QVERIFY(number >= 1 && number <= 25);
            }
        }
    }
    QCOMPARE(changed.size(), std::size_t{kBoardButtons});
}

void IdleBoardTest::animationTouchesNothingElse() {
    Scene scene;
    SimDesktop& d = scene.desktop;
    d.start();
    const std::size_t draws = d.random().draws();
    const std::size_t mark = d.trace().size();
    d.runFor(10.0);
    QCOMPARE(d.random().draws() - draws, std::size_t{3 * 50});  // three draws a tick
    QVERIFY(d.traceSince(mark).empty());                        // no label, timer or cue
    QVERIFY(!d.state().GameActive);
}

void IdleBoardTest::generatorGivesFreshFractions() {
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

    // The same clock reading twice still leads somewhere new.
    random.reseed(3600.0);
    const double first = random.next();
    random.reseed(3600.0);
    QVERIFY(random.next() != first);
    // Unseeded generators start apart.
    SplitMixRandom a;
    SplitMixRandom b;
    QVERIFY(a.next() != b.next());
}

QTEST_GUILESS_MAIN(IdleBoardTest)
#include "tst_idle.moc"
