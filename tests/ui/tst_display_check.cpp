// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace brightsum;

// A Wayland-only desktop (no X11 at all): the program must run on Wayland when Qt's Wayland
// plugin is installed, and say in its one line what is missing when it is not, instead of
// starting Qt, which aborts with advice to reinstall. The end-to-end runs (tst_no_display.py)
// cannot take an installed plugin away; here the plugin folder is the test's own.
class DisplayCheckTest : public QObject {
    Q_OBJECT

private slots:
    void waylandOnlyDesktop_data() {
        QTest::addColumn<QStringList>("plugins");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("problem");
        QTest::newRow("Wayland plugin installed")
            << QStringList{"libqxcb.so", "libqwayland-generic.so"} << "wayland"
            << "";
        QTest::newRow("no Wayland plugin")
            << QStringList{"libqxcb.so", "libqoffscreen.so"} << ""
            << "Brightsum needs a graphical desktop: no X11 or Wayland display could be opened "
               "(DISPLAY is not set; wayland-test answers, but Qt's Wayland support is not "
               "installed).";
    }

    void waylandOnlyDesktop() {
        QFETCH(QStringList, plugins);
        QFETCH(QString, platform);
        QFETCH(QString, problem);

        QTemporaryDir runtime;
        QTemporaryDir pluginFolder;
        for (const QString& plugin : plugins) {
            QFile file(pluginFolder.filePath(plugin));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // A compositor's socket, listening under the runtime folder by a relative name.
        const QByteArray socketPath = QFile::encodeName(runtime.filePath("wayland-test"));
        const int compositor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path - 1);
        QVERIFY(::bind(compositor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(compositor, 4) == 0);

        for (const char* name :
             {"DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH"}) {
            qunsetenv(name);
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("WAYLAND_DISPLAY", "wayland-test");

        char program[] = "brightsum";
        char* argv[] = {program, nullptr};
        const DisplayChoice choice =
            chooseDisplay(1, argv, QFile::encodeName(pluginFolder.path()).toStdString());
        ::close(compositor);

        QCOMPARE(QString::fromStdString(choice.platform.value_or("")), platform);
        QCOMPARE(QString::fromStdString(choice.problem.value_or("")), problem);
    }
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_display_check.moc"
