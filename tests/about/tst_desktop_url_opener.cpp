#include "DesktopUrlOpener.h"
#include "HelpLauncher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

// Runs the real opener on a real X display, with a stand-in for the desktop's "xdg-open" that
// only writes down the arguments it was given. What reaches it must be one argument, the
// page's address, and no character of the program folder's path may make anything else run.
class TestDesktopUrlOpener : public QObject {
    Q_OBJECT

private slots:
    void helpPageReachesTheViewerAsOneArgument();
};

void TestDesktopUrlOpener::helpPageReachesTheViewerAsOneArgument() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QByteArray log = QFile::encodeName(root.filePath(QStringLiteral("viewer-arguments")));
    QFile viewer(bin + QStringLiteral("/xdg-open"));
    QVERIFY(viewer.open(QIODevice::WriteOnly));
    viewer.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + log + ".part'\nmv '" + log + ".part' '" +
                 log + "'\n");
    viewer.close();
    QVERIFY(viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // Only the stand-in may be found; no browser named by the environment.
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
    for (const char* name :
         {"BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
        qunsetenv(name);
    }
    QVERIFY(QDir::setCurrent(root.path()));

    const QString folder = root.filePath(QStringLiteral("a b'c\"d;e $(touch X) `touch X` ü"));
    QVERIFY(QDir().mkpath(folder));
    brightsum::DesktopUrlOpener opener;
    brightsum::HelpLauncher help(opener, folder);
    help.mnuHowtoPlay_Click();

    // The viewer is started detached; wait until it has written what it received.
    QVERIFY(QTest::qWaitFor([&log] { return QFileInfo::exists(QFile::decodeName(log)); }, 10000));
    QFile received(QFile::decodeName(log));
    QVERIFY(received.open(QIODevice::ReadOnly));
    const QList<QByteArray> arguments = received.readAll().split('\0');
    QCOMPARE(arguments.size(), 2);  // one argument and what follows its terminator
    QCOMPARE(QUrl(QString::fromUtf8(arguments.first())).toLocalFile(),
             folder + QStringLiteral("/readme.htm"));
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("X"))));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/X")));
}

// On a real display Qt talks to the session bus, and libdbus keeps a buffer until exit that
// no one frees. Read only by LeakSanitizer builds; ordinary builds never call it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("SKIP: no X display to start a viewer from");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestDesktopUrlOpener test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_url_opener.moc"
