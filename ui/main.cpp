#include "CanberraSoundPlayer.h"
#include "GameSession.h"
#include "TraceEventFilter.h"
#include "TraceLog.h"
#include "TracingSoundPort.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    brightsum::GameSession::prepareApplication();
    QApplication app(argc, argv);
    brightsum::GameSession::setApplicationIcon();

    brightsum::CanberraSoundPlayer sound(brightsum::GameSession::programFolder());
    brightsum::TracingSoundPort tracedSound(sound);
    brightsum::GameSession session(
        brightsum::trace::enabled() ? static_cast<brightsum::SoundPort&>(tracedSound) : sound,
        brightsum::GameSession::programFolder(), brightsum::GameSession::dataFolder());
    if (brightsum::trace::enabled()) {
        app.installEventFilter(new brightsum::TraceEventFilter(session.window(), &app));
    }
    session.start();
    return app.exec();
}
