// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"
#include "FloorWindow.h"

#include <QApplication>

#include <canberra.h>

#include <cstdlib>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    // Opened as the game opens its own, so both pay for the sound server's connection and
    // its thread; nothing is ever played.
    ca_context* context = nullptr;
    if (ca_context_create(&context) == CA_SUCCESS) {
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Floor", nullptr);
        ca_context_open(context);
    }
    const std::unique_ptr<ca_context, int (*)(ca_context*)> sound(context, &ca_context_destroy);

    if (qEnvironmentVariableIsSet("BRIGHTSUM_TRACE")) {
        app.installEventFilter(new brightsum::FirstPaintProbe(&app));
    }

    brightsum::FloorWindow window;
    window.show();
    return app.exec();
}
