// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

namespace brightsum {

class GameSession;
class MainWindow;
class MainWindowPort;
class SoundPort;

// The benchmark's timing marks, set up around a game session when BRIGHTSUM_TRACE is set and
// absent otherwise: decorators between the game and its window and sounds, and an event
// filter on the application.
class Tracing {
public:
    Tracing();
    ~Tracing();

    Tracing(const Tracing&) = delete;
    Tracing& operator=(const Tracing&) = delete;

    bool enabled() const { return m_enabled; }

    // The port the game should play its cues through: a tracing one, or sound itself.
    SoundPort& sound(SoundPort& sound);
    // The port the game should write to the window through: a tracing one, or window itself.
    MainWindowPort& window(MainWindow& window);
    // Watches the application's events for the marks of the session's window.
    void watch(GameSession& session);

private:
    bool m_enabled = false;
    std::unique_ptr<SoundPort> m_sound;
    std::unique_ptr<MainWindowPort> m_window;
};

}  // namespace brightsum
