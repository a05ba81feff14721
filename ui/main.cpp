// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameSession.h"
#include "Tracing.h"
#include "Translation.h"

#include <QApplication>

#include <filesystem>
#include <vector>

#ifdef _WIN32
#include "WinmmSoundPlayer.h"
#else
#include "CanberraSoundPlayer.h"
#include "DisplayCheck.h"

#include <QFile>
#include <QLibraryInfo>

#include <cstdio>
#include <string>
#endif

namespace {

#ifdef _WIN32
using DesktopSoundPlayer = brightsum::WinmmSoundPlayer;
#else
using DesktopSoundPlayer = brightsum::CanberraSoundPlayer;
#endif

}  // namespace

int main(int argc, char* argv[]) {
    using namespace brightsum;
    std::vector<char*> arguments(argv, argv + argc);
#ifndef _WIN32
    // Without a display Qt would abort with advice to reinstall; say what is missing instead.
    const std::filesystem::path plugins(
        QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath)).toStdString());
    const DisplayChoice display = chooseDisplay(argc, argv, plugins / "platforms");
    if (display.problem) {
        std::fprintf(stderr, "%s\n", display.problem->c_str());
        return 1;
    }
    // The platform chosen goes to the toolkit as an argument, not through QT_QPA_PLATFORM,
    // which the viewers the program starts would inherit. Qt keeps argv for the whole run.
    std::string platformOption = "-platform";
    std::string platform = display.platform.value_or(std::string());
    if (display.platform) {
        arguments.push_back(platformOption.data());
        arguments.push_back(platform.data());
    }
#endif  // Windows always has its desktop
    arguments.push_back(nullptr);
    int argumentCount = static_cast<int>(arguments.size()) - 1;

    GameSession::prepareApplication();
    QApplication app(argumentCount, arguments.data());
    Translation::installForDesktop();
    GameSession::prepareWidgets();

    const std::filesystem::path programFolder = GameSession::programFolder();
    DesktopSoundPlayer sound(programFolder);
    Tracing tracing;
    GameSession session(
        tracing.sound(sound), programFolder, GameSession::dataFolder(),
        [&tracing](MainWindow& window) -> MainWindowPort& { return tracing.window(window); });
    tracing.watch(session);
    session.start();
    return app.exec();
}
