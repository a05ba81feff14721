// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopUrlOpener.h"
#include "HelpLauncher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>

// Runs the real opener on a real X display, with a stand-in for the desktop's "xdg-open" that
// only writes down the arguments it was given. What reaches it must be one argument, the
// page's address, and no character of the program folder's path may make anything else run.
class DesktopUrlOpenerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void helpPageReachesTheViewerAsOneArgument_data();
    void helpPageReachesTheViewerAsOneArgument();

private:
    // Holds the stand-in viewer: Qt looks the viewer up once and keeps its path.
    QTemporaryDir m_root;
    QByteArray m_log;
};

void DesktopUrlOpenerTest::initTestCase() {
    QVERIFY(m_root.isValid());
    const QString bin = m_root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    m_log = QFile::encodeName(m_root.filePath(QStringLiteral("viewer-arguments")));
    QFile viewer(bin + QStringLiteral("/xdg-open"));
    QVERIFY(viewer.open(QIODevice::WriteOnly));
    viewer.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + m_log + ".part'\nmv '" + m_log +
                 ".part' '" + m_log + "'\n");
    viewer.close();
    QVERIFY(viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // Only the stand-in may be found; no browser named by the environment.
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
    for (const char* name :
         {"BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
        qunsetenv(name);
    }
}

void DesktopUrlOpenerTest::helpPageReachesTheViewerAsOneArgument_data() {
    QTest::addColumn<QByteArray>("folderName");
    QTest::newRow("shell syntax") << QStringLiteral("a b'c\"d;e $(touch X) `touch X` ü").toUtf8();
    // Bytes that are no text: Latin-1's ü and a line break.
    QTest::newRow("not UTF-8") << QByteArray("Spiele f\xfcr Kinder;\n$(touch X)");
}

void DesktopUrlOpenerTest::helpPageReachesTheViewerAsOneArgument() {
    QFETCH(QByteArray, folderName);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeFolder = qScopeGuard(
        [&root] { std::filesystem::remove_all(QFile::encodeName(root.path()).toStdString()); });
    QVERIFY(QDir::setCurrent(root.path()));
    QFile::remove(QFile::decodeName(m_log));

    const QByteArray folder = QFile::encodeName(root.path()) + '/' + folderName;
    std::filesystem::create_directories(folder.toStdString());
    std::ofstream((folder + "/readme.htm").toStdString()) << "<html></html>\n";
    brightsum::DesktopUrlOpener opener;
    brightsum::HelpLauncher help(opener, folder.toStdString());
    help.mnuHowtoPlay_Click();

    // The viewer is started detached; wait until it has written what it received.
    const QString log = QFile::decodeName(m_log);
    QVERIFY(QTest::qWaitFor([&log] { return QFileInfo::exists(log); }, 10000));
    QFile received(log);
    QVERIFY(received.open(QIODevice::ReadOnly));
    const QList<QByteArray> arguments = received.readAll().split('\0');
    QCOMPARE(arguments.size(), 2);  // one argument and what follows its terminator
    // The address names exactly the page's bytes.
    const QUrl url = QUrl::fromEncoded(arguments.first(), QUrl::StrictMode);
    QVERIFY(url.isLocalFile());
    QCOMPARE(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()),
             folder + "/readme.htm");
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("X"))));
    QVERIFY(!std::filesystem::exists((folder + "/X").toStdString()));
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
    DesktopUrlOpenerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_url_opener.moc"
