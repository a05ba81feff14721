// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InvariantChecker.h"
#include "SimDesktop.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace brightsum::sim {

struct SceneFolder {
    QTemporaryDir folder;
};

// A desktop of its own in a folder of its own, watched by the invariant checker and started
// unless told otherwise. The folder lies under `under` when given (a memory file system keeps
// thousands of saves quick).
struct Scene : SceneFolder, SimDesktop {
    explicit Scene(std::uint64_t seed = 1, const QString& under = {}, bool started = true)
        : SceneFolder{under.isEmpty() ? QTemporaryDir() : QTemporaryDir(under + "/bs-XXXXXX")},
          SimDesktop(folder.path().toStdString(), folder.path().toStdString() + "/data", seed) {
        if (started) {
            start();
        }
    }

    std::string fileBytes() {
        std::ifstream in(scoreFile().path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    InvariantChecker checker{*this};
};

// Starts a level 1 subtraction 8 - 3 = 5 with 8 on button 0, 3 on button 17, or a level 2
// addition 6 + 6 = 12 with the sixes on buttons 0 and 18; every other button shows 1.
inline void startScriptedQuestion(SimDesktop& d, char operation) {
    std::vector<double> draws =
        operation == '-' ? std::vector<double>{0.35, 0.3} : std::vector<double>{0.225, 0.55};
    draws.insert(draws.end(), kBoardButtons, 0.05);
    draws.insert(draws.end(), {0.01, 0.5});
    d.random().feed(draws);
    d.menu(operation, operation == '-' ? 1 : 2);
}

// Clicks a pair found on the board: the first button now, the second `gap` seconds later
// (at once when 0).
inline void clickPair(SimDesktop& d, bool right, double gap = 0) {
    const auto pair = d.findPair(right);
    QVERIFY(pair);
    d.click(pair->first);
    if (gap > 0) {
        d.clickAt(d.now() + gap, pair->second);
    } else {
        d.click(pair->second);
    }
}

// Plays a whole game: each worth (1000 down to 0) is scored by a right answer judged half a
// second after its decay tick; -1 lets the question time out.
inline void playGame(SimDesktop& d, char operation, int level, const std::vector<int>& worths) {
    d.menu(operation, level);
    for (const int worth : worths) {
        const double start = d.now();
        if (worth < 0) {
            d.runUntil(start + 24.0);
        } else {
            d.runUntil(start + std::max(2, (1100 - worth) / 50) + 0.5);
            clickPair(d, true);
        }
    }
}

// Ten questions: the worth of each right answer, or -1 for a time-out.
inline std::vector<int> scoring(std::vector<int> worths) {
    worths.resize(10, -1);
    return worths;
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

inline bool near(double a, double b) {
    return std::abs(a - b) <= 3e-6;
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
