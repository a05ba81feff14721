#pragma once

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "InvariantChecker.h"
#include "SimDesktop.h"

namespace brightsum::sim {

// A desktop of its own in a folder of its own, watched by the invariant checker. The folder
// lies under `under` when given (a memory file system keeps thousands of saves quick).
struct Scene {
    explicit Scene(std::uint64_t seed = 1, const QString& under = {})
        : folder(under.isEmpty() ? QTemporaryDir() : QTemporaryDir(under + "/brightsum-XXXXXX")),
          desktop(folder.path().toStdString(), folder.path().toStdString() + "/data", seed),
          checker(desktop) {}

    std::filesystem::path file() { return desktop.scoreFile().path(); }

    std::string fileBytes() {
        std::ifstream in(file(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    QTemporaryDir folder;
    SimDesktop desktop;
    InvariantChecker checker;
};

// The time at which a click must be judged for a question started at `start` to be worth
// `worth` (1000 down to 0): half a second after the matching decay tick.
inline double timeForWorth(double start, int worth) {
    const int ticks = std::max(2, (1100 - worth) / 50);
    return start + ticks + 0.5;
}

// Answers the open question right at the given time with its first right pair. Returns when
// the answer's pause is over and the next question (or the game's end) has run.
inline void answerRightAt(SimDesktop& desktop, double time) {
    desktop.runUntil(time);
    const auto pair = desktop.rightPair();
    QVERIFY(pair);
    desktop.click(pair->first);
    desktop.click(pair->second);
}

// Plays a whole game: each worth is scored by a right answer, -1 lets the question time out.
inline void playGame(SimDesktop& desktop, char operation, int level,
                     const std::vector<int>& worths) {
    desktop.menu(operation, level);
    for (const int worth : worths) {
        const double start = desktop.now();
        if (worth < 0) {
            desktop.runUntil(start + 24.0);
        } else {
            answerRightAt(desktop, timeForWorth(start, worth));
        }
    }
}

// True when `expected` occurs in `trace` in this order, other entries allowed in between.
inline bool inOrder(const std::vector<std::string>& trace,
                    const std::vector<std::string>& expected) {
    auto at = trace.begin();
    for (const std::string& step : expected) {
        at = std::find(at, trace.end(), step);
        if (at == trace.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// The time of the first trace entry `what` from index `from` on; -1 when there is none.
inline double timeOf(const SimDesktop& desktop, const std::string& what, std::size_t from = 0) {
    const auto& trace = desktop.trace();
    for (std::size_t i = from; i < trace.size(); ++i) {
        if (trace[i].what == what) {
            return trace[i].time;
        }
    }
    return -1;
}

inline QString joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) {
        list << QString::fromStdString(line);
    }
    return list.join(QStringLiteral(" | "));
}

}  // namespace brightsum::sim

// Checks that the steps appear in this order in the trace since `from`, printing it if not.
#define EXPECT_IN_ORDER(desktop, from, ...)                      \
    do {                                                         \
        const auto trace_ = (desktop).traceSince(from);          \
        QVERIFY2(::brightsum::sim::inOrder(trace_, __VA_ARGS__), \
                 qPrintable(::brightsum::sim::joined(trace_)));  \
    } while (false)

#define EXPECT_NO_VIOLATIONS(scene) \
    QVERIFY2((scene).checker.ok(),  \
             qPrintable(::brightsum::sim::joined((scene).checker.violations())))
