// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanberraSoundPlayer.h"
#include "GameSession.h"
#include "Tracing.h"
#include "Translation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    using namespace brightsum;
    GameSession::prepareApplication();
    QApplication app(argc, argv);
    Translation::installForDesktop();
    GameSession::prepareWidgets();

    CanberraSoundPlayer sound(GameSession::programFolder());
    Tracing tracing;
    GameSession session(
        tracing.sound(sound), GameSession::programFolder(), GameSession::dataFolder(),
        [&tracing](MainWindow& window) -> MainWindowPort& { return tracing.window(window); });
    tracing.watch(session);
    session.start();
    return app.exec();
}
