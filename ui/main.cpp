// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraSoundPlayer.h"
#include "DisplayCheck.h"
#include "GameSession.h"
#include "Tracing.h"
#include "Translation.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using namespace brightsum;
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
    std::vector<char*> arguments(argv, argv + argc);
    std::string platformOption = "-platform";
    std::string platform = display.platform.value_or(std::string());
    if (display.platform) {
        arguments.push_back(platformOption.data());
        arguments.push_back(platform.data());
    }
    arguments.push_back(nullptr);
    int argumentCount = static_cast<int>(arguments.size()) - 1;

    GameSession::prepareApplication();
    QApplication app(argumentCount, arguments.data());
    Translation::installForDesktop();
    GameSession::prepareWidgets();

    const std::filesystem::path programFolder = GameSession::programFolder();
    CanberraSoundPlayer sound(programFolder);
    Tracing tracing;
    GameSession session(
        tracing.sound(sound), programFolder, GameSession::dataFolder(),
        [&tracing](MainWindow& window) -> MainWindowPort& { return tracing.window(window); });
    tracing.watch(session);
    session.start();
    return app.exec();
}
