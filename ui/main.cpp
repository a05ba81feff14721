#include "CanberraSoundPlayer.h"
#include "GameSession.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    brightsum::GameSession::prepareApplication();
    QApplication app(argc, argv);
    brightsum::GameSession::setApplicationIcon();

    brightsum::CanberraSoundPlayer sound(brightsum::GameSession::programFolder());
    brightsum::GameSession session(sound, brightsum::GameSession::programFolder(),
                                   brightsum::GameSession::dataFolder());
    session.start();
    return app.exec();
}
