// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClockPort.h"
#include "Engine.h"
#include "EventPump.h"
#include "HighScoreFile.h"
#include "MainWindowPort.h"
#include "ScriptedRandom.h"
#include "SimDialogs.h"
#include "SimHighScoreWindow.h"
#include "SimSound.h"
#include "SimWindow.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brightsum::sim {

struct TraceEntry {
    double time = 0;
    std::string what;
};

// The whole desktop in virtual time, with one engine on it.
//
// Nothing waits on a real clock. Time moves only when the program waits: in the main loop
// (runUntil), inside a pause or a dialog (both pump events), or while a waited sound holds
// the thread (nothing is dispatched then). Timers behave as the real ones do: enabling a
// disabled timer starts a fresh interval, disabling stops it at once, and ticks missed while
// the thread was held up arrive as one tick, after which the timer keeps the new phase.
//
// Everything that happens is written to a trace ("cue good.wav", "lblScore=1000",
// "tmrCounter off", "click 7", "message GameOver"), which tests read for order.
class SimDesktop : public ClockPort, public EventPump {
public:
    // The high-score file lives in programFolder, or in dataFolder when that cannot be
    // written. seed makes the game's random draws repeatable.
    SimDesktop(const std::filesystem::path& programFolder, const std::filesystem::path& dataFolder,
               std::uint64_t seed = 1);
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    Engine& engine() { return *m_engine; }
    const GameState& state() const { return m_engine->state(); }
    SimWindow& window() { return m_window; }
    SimSound& sound() { return m_sound; }
    SimDialogs& dialogs() { return m_dialogs; }
    SimHighScoreWindow& highScoreWindow() { return m_highScoreWindow; }
    ScriptedRandom& random() { return m_random; }
    HighScoreFile& scoreFile() { return m_scoreFile; }

    // The program starts: the main window's load routine runs, as before it is first shown.
    void start();

    double now() const { return static_cast<double>(m_now) / 1e6; }
    // The main event loop, until the given virtual time.
    void runUntil(double time);
    void runFor(double seconds) { runUntil(now() + seconds); }

    // Input delivered now, as the main loop would deliver it.
    void click(int index);
    void menu(char operation, int level);
    void highScoresMenu();
    // Input at a virtual time; it waits while the thread is held up.
    void clickAt(double time, int index);
    void menuAt(double time, char operation, int level);
    void at(double time, std::string what, std::function<void()> action);

    // Two different buttons that answer the open question (or, asked for a wrong pair, do
    // not), in the order to click them.
    std::optional<std::pair<int, int>> findPair(bool right) const;
    std::optional<std::pair<int, int>> rightPair() const { return findPair(true); }
    std::optional<std::pair<int, int>> wrongPair() const { return findPair(false); }

    // ClockPort
    double secondsSinceMidnight() const override;
    double monotonicSeconds() const override { return now(); }
    // Sets what the time-of-day clock reads now; it wraps at midnight.
    void setTimeOfDay(double secondsSinceMidnight);

    // EventPump
    void processEventsUntil(double monotonicDeadline) override;

    // For the fakes: the thread is held up, nothing is dispatched.
    void block(double seconds) { m_now += micros(seconds); }
    // For the fakes: a modal dialog's own event loop, for that long. Input to the main window
    // is dropped meanwhile, as a modal dialog blocks it, unless told otherwise.
    void runModal(double seconds);
    int modalDepth() const { return m_modalDepth; }
    void setModalBlocksInput(bool blocks) { m_modalBlocksInput = blocks; }

    void setTimerEnabled(Timer timer, bool enabled);
    bool timerEnabled(Timer timer) const {
        return m_timers[static_cast<std::size_t>(timer)].enabled;
    }
    // Which of two ticks due at the same moment runs first: by default the timer armed
    // first (the time-out before the 23rd decay tick); this puts the decay tick first.
    void setDecayTickFirstOnTies(bool first) { m_decayFirst = first; }

    void note(std::string what);
    const std::vector<TraceEntry>& trace() const { return m_trace; }
    void clearTrace() { m_trace.clear(); }
    // The trace entries from a given index on, as text.
    std::vector<std::string> traceSince(std::size_t index) const;
    // Told of every trace entry as it is written, and after every dispatched event.
    void setTraceSink(std::function<void(const TraceEntry&)> sink) {
        m_traceSink = std::move(sink);
    }
    void setAfterEvent(std::function<void()> hook) { m_afterEvent = std::move(hook); }

private:
    struct Scheduled {
        std::string what;
        std::function<void()> action;
    };
    struct TimerState {
        bool enabled = false;
        std::int64_t due = 0;
        std::uint64_t order = 0;
    };
    using Key = std::pair<std::int64_t, std::uint64_t>;

    bool dispatchNext(std::int64_t limit);
    void dispatch(const std::string& what, const std::function<void()>& action, bool input);
    void fireTimer(Timer timer);
    std::function<void()> menuAction(char operation, int level);
    static std::int64_t micros(double seconds) { return std::llround(seconds * 1e6); }
    std::int64_t deadlineMicros(double deadline) const;

    std::int64_t m_now = 0;
    std::uint64_t m_order = 0;
    double m_dayOffset = 8 * 3600.0;
    std::multimap<Key, Scheduled> m_queue;
    std::array<TimerState, 3> m_timers;
    int m_modalDepth = 0;
    bool m_modalBlocksInput = true;
    bool m_decayFirst = false;

    std::vector<TraceEntry> m_trace;
    std::function<void(const TraceEntry&)> m_traceSink;
    std::function<void()> m_afterEvent;

    SimWindow m_window;
    SimSound m_sound;
    SimDialogs m_dialogs;
    SimHighScoreWindow m_highScoreWindow;
    ScriptedRandom m_random;
    HighScoreFile m_scoreFile;
    std::unique_ptr<Engine> m_engine;
};

}  // namespace brightsum::sim
