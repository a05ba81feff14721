// SPDX-License-Identifier: GPL-3.0-or-later
#include "InvariantChecker.h"

#include "Numbers.h"
#include "SimDesktop.h"

#include <algorithm>

namespace brightsum::sim {

InvariantChecker::InvariantChecker(SimDesktop& desktop) : m_desktop(desktop) {
    desktop.setTraceSink([this](const TraceEntry& entry) { onTrace(entry); });
    desktop.setAfterEvent([this] { afterEvent(); });
}

void InvariantChecker::fail(const std::string& what) {
    // A broken rule tends to repeat at every later event; the first few tell the story.
    if (m_violations.size() < 20) {
        m_violations.push_back("at " + std::to_string(m_desktop.now()) + " s: " + what);
    }
}

void InvariantChecker::onTrace(const TraceEntry& entry) {
    const std::string& what = entry.what;
    if (what.starts_with("menu add") || what.starts_with("menu sub")) {
        m_gameStartPending = true;
    } else if (what == "tmrPoints on") {
        // Only the question cycle starts the decay timer: a question starts here.
        if (m_gameStartPending) {
            m_gameStartPending = false;
            m_inGame = true;
            ++m_gamesStarted;
            m_endsThisGame = 0;
            m_questionsThisGame = 0;
            m_lastScore = 0;
        } else if (!m_inGame) {
            fail("a question started outside a game");
        } else if (!m_questionClosed) {
            fail("question " + std::to_string(m_desktop.state().QuestionNumber) +
                 " was replaced before it was answered or timed out");
        }
        m_questionClosed = false;
        m_questionAnswered = false;
        ++m_questionsThisGame;
    } else if (what == SimSound::note(Cue::Good)) {
        if (m_questionAnswered) {
            fail("question " + std::to_string(m_desktop.state().QuestionNumber) +
                 " was scored twice");
        }
        m_questionAnswered = true;
        m_questionClosed = true;
    } else if (what == SimSound::note(Cue::TimeUp)) {
        if (m_questionAnswered) {
            fail("an answered question timed out");
        }
        m_questionClosed = true;
    } else if (what == SimSound::note(Cue::Finish) || what == SimSound::note(Cue::HighScore)) {
        ++m_endsThisGame;
        if (!m_inGame || m_endsThisGame > 1) {
            fail("a game ended twice");
        }
        if (m_questionsThisGame != 11 || m_desktop.state().QuestionNumber != 11) {
            fail("a game ended after " + std::to_string(m_questionsThisGame - 1) + " questions");
        }
        m_inGame = false;
        ++m_gamesEnded;
    } else if (what.starts_with("message ") || what.starts_with("prompt ")) {
        if (m_desktop.timerEnabled(Timer::tmrCounter) || m_desktop.timerEnabled(Timer::tmrPoints)) {
            fail("a question timer runs while '" + what + "' waits");
        }
    }
}

void InvariantChecker::afterEvent() {
    m_gameStartPending = false;
    const GameState& state = m_desktop.state();

    const int score = state.TotalPoints;
    if (score % 50 != 0 || score < 0 || score > 10000) {
        fail("the score is " + std::to_string(score));
    }
    if (m_inGame) {
        if (score < m_lastScore) {
            fail("the score fell from " + std::to_string(m_lastScore) + " to " +
                 std::to_string(score));
        }
        m_lastScore = score;
        if (state.GameActive &&
            m_desktop.window().caption(Label::lblScore) != std::to_string(score)) {
            fail("lblScore shows " + m_desktop.window().caption(Label::lblScore) +
                 " for a score of " + std::to_string(score));
        }
    }
    // Behind a modal dialog the board is inert and about to be replaced.
    if (m_desktop.modalDepth() == 0) {
        if (m_inGame && !state.GameActive) {
            fail("a game stopped without its end");
        }
        checkPicks();
    }
}

void InvariantChecker::checkPicks() {
    const GameState& state = m_desktop.state();
    SimWindow& window = m_desktop.window();
    const std::string part1 = window.caption(Label::lblPart1);
    const std::string part2 = window.caption(Label::lblPart2);

    // A screen reader hears as picked exactly the buttons the eye sees green, and none on the
    // idle board, whose colours are the animation's.
    const std::vector<int> heard = window.buttonsPicked();
    if (heard != (state.GameActive ? window.buttonsColoured(kLightGreen) : std::vector<int>{})) {
        fail(std::to_string(heard.size()) + " buttons are heard as picked, not the green ones");
    }
    if (!state.GameActive) {
        if (part1 != "?" || part2 != "?") {
            fail("the idle window shows a pick: " + part1 + ", " + part2);
        }
        return;
    }
    if (state.PickCount != 0 && state.PickCount != 1) {
        fail("PickCount is " + std::to_string(state.PickCount));
        return;
    }
    const std::vector<int> green = window.buttonsColoured(kLightGreen);
    const std::string first = PlainText(state.FirstPick);
    if (state.PickCount == 1) {
        const bool shown = green == std::vector<int>{state.FirstPickIndex} && part1 == first &&
                           part2 == "?" &&
                           TextValue(window.buttonCaption(state.FirstPickIndex)) == state.FirstPick;
        if (!shown) {
            fail("one pick (" + first + " on button " + std::to_string(state.FirstPickIndex) +
                 ") shows as " + part1 + ", " + part2 + " with " + std::to_string(green.size()) +
                 " green buttons");
        }
        return;
    }
    const bool nothing = green.empty() && part1 == "?" && part2 == "?";
    // The pair just judged: the first pick's button and one showing the second pick.
    const bool judgedPair =
        green.size() == 2 && part1 == first && part2 == PlainText(state.SecondPick) &&
        std::ranges::count(green, state.FirstPickIndex) == 1 &&
        TextValue(window.buttonCaption(green[0] == state.FirstPickIndex ? green[1] : green[0])) ==
            state.SecondPick;
    if (!nothing && !judgedPair) {
        fail("no pick pending, yet the window shows " + part1 + ", " + part2 + " with " +
             std::to_string(green.size()) + " green buttons");
    }
}

}  // namespace brightsum::sim
