// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraSoundPlayer.h"
#include "DisplayCheck.h"
#include "GameSession.h"
#include "Tracing.h"
#include "Translation.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>

int main(int argc, char* argv[]) {
    using namespace brightsum;
    // Without a display Qt would abort with advice to reinstall; say what is missing instead.
    if (const auto missing = missingDisplay(argc, argv)) {
        std::fprintf(stderr, "%s\n", missing->c_str());
        return 1;
    }
    GameSession::prepareApplication();
    QApplication app(argc, argv);
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
