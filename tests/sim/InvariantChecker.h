// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace brightsum::sim {

class SimDesktop;
struct TraceEntry;

// Watches a desktop and notes every moment at which the game breaks one of its rules:
//
// 1. A game ends at most once, and no question timer runs while its dialogs wait; a running
//    game goes idle only through its end.
// 2. A question is scored at most once, and once answered it does not time out.
// 3. A new question starts only when a game starts or the open question has been closed
//    (answered right or timed out), so no question is skipped; none starts outside a game.
// 4. The score is a multiple of 50 from 0 to 10 000 that never falls during a game, and
//    lblScore shows it while the game runs.
// 5. The equation line and the green buttons match PickCount and the picks: one pick shows
//    as itself alone; with no pick, the board shows nothing picked or the pair just judged.
//    The buttons a screen reader hears as picked are the green ones, and none while idle.
class InvariantChecker {
public:
    // Takes over the desktop's trace sink and after-event hook.
    explicit InvariantChecker(SimDesktop& desktop);

    const std::vector<std::string>& violations() const { return m_violations; }
    bool ok() const { return m_violations.empty(); }

    int gamesStarted() const { return m_gamesStarted; }
    int gamesEnded() const { return m_gamesEnded; }

private:
    void onTrace(const TraceEntry& entry);
    void afterEvent();
    void checkPicks();
    void fail(const std::string& what);

    SimDesktop& m_desktop;
    std::vector<std::string> m_violations;

    bool m_gameStartPending = false;
    bool m_inGame = false;
    bool m_questionClosed = false;
    bool m_questionAnswered = false;
    int m_gamesStarted = 0;
    int m_gamesEnded = 0;
    int m_endsThisGame = 0;
    int m_questionsThisGame = 0;
    int m_lastScore = 0;
};

}  // namespace brightsum::sim
