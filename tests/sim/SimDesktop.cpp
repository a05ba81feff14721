// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimDesktop.h"

#include "Numbers.h"

#include <cmath>
#include <stdexcept>

namespace brightsum::sim {

namespace {

constexpr double kDay = 86400.0;

std::size_t slot(Timer timer) {
    return static_cast<std::size_t>(timer);
}

}  // namespace

SimDesktop::SimDesktop(const std::filesystem::path& programFolder,
                       const std::filesystem::path& dataFolder, std::uint64_t seed)
    : m_window(*this),
      m_sound(*this),
      m_dialogs(*this),
      m_highScoreWindow(*this),
      m_random(seed),
      m_scoreFile(programFolder, dataFolder) {
    // The idle animation's timer runs from the moment the window is created.
    setTimerEnabled(Timer::tmrInit, true);
    m_engine = std::make_unique<Engine>(
        EnginePorts{m_window, *this, *this, m_sound, m_dialogs, m_highScoreWindow, m_random},
        m_scoreFile);
}

SimDesktop::~SimDesktop() = default;

void SimDesktop::start() {
    dispatch(
        "load", [this] { m_engine->Form_Load(); }, false);
}

std::int64_t SimDesktop::deadlineMicros(double deadline) const {
    // The first microsecond at which the clock reads the deadline or later, so that a
    // caller comparing clock readings with the deadline sees it reached.
    auto us = static_cast<std::int64_t>(std::ceil(deadline * 1e6));
    while (static_cast<double>(us) / 1e6 < deadline) {
        ++us;
    }
    return us;
}

void SimDesktop::runUntil(double time) {
    const std::int64_t limit = micros(time);
    while (dispatchNext(limit)) {
    }
    m_now = std::max(m_now, limit);
}

void SimDesktop::processEventsUntil(double monotonicDeadline) {
    const std::int64_t limit = deadlineMicros(monotonicDeadline);
    if (!dispatchNext(limit)) {
        m_now = std::max(m_now, limit);
    }
}

void SimDesktop::runModal(double seconds) {
    ++m_modalDepth;
    const std::int64_t end = m_now + micros(seconds);
    while (m_now < end) {
        if (!dispatchNext(end)) {
            m_now = end;
        }
    }
    --m_modalDepth;
}

bool SimDesktop::dispatchNext(std::int64_t limit) {
    std::optional<Key> best;
    int bestTimer = -1;
    if (!m_queue.empty()) {
        best = m_queue.begin()->first;
    }
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        const TimerState& timer = m_timers[i];
        if (!timer.enabled) {
            continue;
        }
        const bool ahead = m_decayFirst && i == slot(Timer::tmrPoints);
        const Key key{timer.due, ahead ? 0 : timer.order};
        if (!best || key < *best) {
            best = key;
            bestTimer = static_cast<int>(i);
        }
    }
    if (!best || best->first > limit) {
        return false;
    }
    m_now = std::max(m_now, best->first);
    if (bestTimer >= 0) {
        fireTimer(static_cast<Timer>(bestTimer));
    } else {
        auto node = m_queue.extract(m_queue.begin());
        dispatch(node.mapped().what, node.mapped().action, true);
    }
    return true;
}

void SimDesktop::fireTimer(Timer timer) {
    TimerState& state = m_timers[slot(timer)];
    const std::int64_t interval = static_cast<std::int64_t>(timerIntervalMs(timer)) * 1000;
    // Ticks missed while the thread was held up collapse into this one.
    state.due += interval;
    if (state.due < m_now) {
        state.due = m_now + interval;
    }
    state.order = ++m_order;
    using Handler = void (Engine::*)();
    // The idle animation ticks five times a second: left out of the trace.
    static constexpr std::array<std::pair<const char*, Handler>, 3> kTicks = {{
        {"tick tmrCounter", &Engine::tmrCounter_Timer},
        {"tick tmrPoints", &Engine::tmrPoints_Timer},
        {"", &Engine::tmrInit_Timer},
    }};
    const Handler handler = kTicks[slot(timer)].second;
    dispatch(
        kTicks[slot(timer)].first, [this, handler] { (m_engine.get()->*handler)(); }, false);
}

void SimDesktop::dispatch(const std::string& what, const std::function<void()>& action,
                          bool input) {
    if (input && m_modalDepth > 0 && m_modalBlocksInput) {
        note("dropped " + what);
        return;
    }
    if (!what.empty()) {
        note(what);
    }
    action();
    if (m_afterEvent) {
        m_afterEvent();
    }
}

void SimDesktop::setTimerEnabled(Timer timer, bool enabled) {
    TimerState& state = m_timers[slot(timer)];
    if (enabled && !state.enabled) {
        state.due = m_now + static_cast<std::int64_t>(timerIntervalMs(timer)) * 1000;
        state.order = ++m_order;
    }
    state.enabled = enabled;
}

double SimDesktop::secondsSinceMidnight() const {
    return std::fmod(m_dayOffset + now(), kDay);
}

void SimDesktop::setTimeOfDay(double secondsSinceMidnight) {
    m_dayOffset = secondsSinceMidnight - now();
    while (m_dayOffset < 0) {
        m_dayOffset += kDay;
    }
}

void SimDesktop::note(std::string what) {
    m_trace.push_back({now(), std::move(what)});
    if (m_traceSink) {
        m_traceSink(m_trace.back());
    }
}

std::vector<std::string> SimDesktop::traceSince(std::size_t index) const {
    std::vector<std::string> result;
    for (std::size_t i = index; i < m_trace.size(); ++i) {
        result.push_back(m_trace[i].what);
    }
    return result;
}

std::function<void()> SimDesktop::menuAction(char operation, int level) {
    using Handler = void (Engine::*)();
    static constexpr std::array<Handler, 10> kEntries = {
        &Engine::add1_Click, &Engine::add2_Click, &Engine::add3_Click, &Engine::add4_Click,
        &Engine::add5_Click, &Engine::sub1_Click, &Engine::sub2_Click, &Engine::sub3_Click,
        &Engine::sub4_Click, &Engine::sub5_Click};
    if ((operation != '+' && operation != '-') || level < 1 || level > 5) {
        throw std::invalid_argument("no such menu entry");
    }
    const Handler handler = kEntries[static_cast<std::size_t>((operation == '-' ? 4 : -1) + level)];
    return [this, handler] { (m_engine.get()->*handler)(); };
}

namespace {

std::string menuName(char operation, int level) {
    return (operation == '+' ? "menu add" : "menu sub") + std::to_string(level);
}

}  // namespace

void SimDesktop::click(int index) {
    dispatch(
        "click " + std::to_string(index), [this, index] { m_engine->Cmd_Number_Click(index); },
        true);
}

void SimDesktop::menu(char operation, int level) {
    dispatch(menuName(operation, level), menuAction(operation, level), true);
}

void SimDesktop::highScoresMenu() {
    dispatch(
        "menu hiscore", [this] { m_engine->mnuhiscore_Click(); }, true);
}

void SimDesktop::at(double time, std::string what, std::function<void()> action) {
    m_queue.emplace(Key{micros(time), ++m_order}, Scheduled{std::move(what), std::move(action)});
}

void SimDesktop::clickAt(double time, int index) {
    at(time, "click " + std::to_string(index),
       [this, index] { m_engine->Cmd_Number_Click(index); });
}

void SimDesktop::menuAt(double time, char operation, int level) {
    at(time, menuName(operation, level), menuAction(operation, level));
}

std::optional<std::pair<int, int>> SimDesktop::findPair(bool right) const {
    const double target = TextValue(m_window.caption(Label::lblAnswer));
    const bool subtract = state().Operation == Operation::Subtraction;
    for (int i = 0; i < kBoardButtons; ++i) {
        const double first = TextValue(m_window.buttonCaption(i));
        for (int j = 0; j < kBoardButtons; ++j) {
            const double second = TextValue(m_window.buttonCaption(j));
            if (i != j && ((subtract ? first - second : first + second) == target) == right) {
                return std::pair{i, j};
            }
        }
    }
    return std::nullopt;
}

}  // namespace brightsum::sim
