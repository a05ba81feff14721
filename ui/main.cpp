#include "CanberraSoundPlayer.h"
#include "DisplayCheck.h"
#include "GameSession.h"
#include "TraceEventFilter.h"
#include "TraceLog.h"
#include "TracingSoundPort.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with advice to reinstall; say what is missing instead.
    if (const auto missing = brightsum::missingDisplay(argc, argv)) {
        std::fprintf(stderr, "%s\n", missing->c_str());
        return 1;
    }
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
