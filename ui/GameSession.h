// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AboutLauncher.h"
#include "DesktopUrlOpener.h"
#include "Engine.h"
#include "HeldKeyFilter.h"
#include "HelpLauncher.h"
#include "HighScoreFile.h"
#include "HighScoreWindowOpener.h"
#include "MainWindow.h"
#include "QtClock.h"
#include "QtDialogs.h"
#include "QtEventPump.h"
#include "SplitMixRandom.h"

#include <filesystem>
#include <functional>

namespace brightsum {

class SoundPort;

// One run of the game: the main window, the Qt side of every port, and the engine they serve.
class GameSession {
public:
    // Settings that must be in place before the QApplication and the first window exist.
    static void prepareApplication();
    // What the program needs once the QApplication exists: the face and icon of all its
    // windows.
    static void prepareWidgets();

    // The executable's folder, which holds the wave files, the help page and, when it can be
    // written, "hiscore.dat". Its path's bytes as they are, whatever the folder's name.
    static std::filesystem::path programFolder();
    // Where "hiscore.dat" lives when the program folder cannot be written.
    static std::filesystem::path dataFolder();

    // Lets the caller put a decorator between the game and the main window.
    using WindowPortFor = std::function<MainWindowPort&(MainWindow&)>;

    GameSession(SoundPort& sound, const std::filesystem::path& programFolder,
                const std::filesystem::path& dataFolder, const WindowPortFor& windowPortFor = {});

    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Puts the main window into its idle state, then shows it.
    void start();

    MainWindow& window() { return m_window; }
    Engine& engine() { return m_engine; }
    HighScoreWindowOpener& highScoreWindow() { return m_highScoreWindow; }

private:
    MainWindow m_window;
    QtClock m_clock;
    QtEventPump m_pump;
    QtDialogs m_dialogs;
    HighScoreWindowOpener m_highScoreWindow;
    SplitMixRandom m_random;
    HighScoreFile m_scoreFile;
    Engine m_engine;
    DesktopUrlOpener m_urlOpener;
    HelpLauncher m_help;
    AboutLauncher m_about;
    HeldKeyFilter m_heldKeys;
};

}  // namespace brightsum
