#include "DesktopUrlOpener.h"
#include "HelpLauncher.h"
#include "frmAbout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using brightsum::DesktopUrlOpener;

// Runs the real opener on a real X display, with a stand-in for the desktop's "xdg-open" that
// only writes down the arguments it was given. What reaches it must be one argument, the
// address, and no character of a path may make anything else run.
class TestDesktopUrlOpener : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void helpPageReachesTheViewerAsOneArgument();
    void webSiteReachesTheViewerAsOneArgument();

private:
    QStringList waitForViewerArguments();

    QTemporaryDir m_root;
    QString m_log;
};

void TestDesktopUrlOpener::initTestCase() {
    QVERIFY(m_root.isValid());
    const QString bin = m_root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    m_log = m_root.filePath(QStringLiteral("viewer-arguments"));

    QFile viewer(bin + QStringLiteral("/xdg-open"));
    QVERIFY(viewer.open(QIODevice::WriteOnly));
    viewer.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + QFile::encodeName(m_log) +
                 ".part'\nmv '" + QFile::encodeName(m_log) + ".part' '" + QFile::encodeName(m_log) +
                 "'\n");
    viewer.close();
    QVERIFY(viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // Only the stand-in may be found; no browser named by the environment.
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
    QVERIFY(QDir::setCurrent(m_root.path()));
}

void TestDesktopUrlOpener::init() {
    QFile::remove(m_log);
}

QStringList TestDesktopUrlOpener::waitForViewerArguments() {
    // The viewer is started detached; wait until it has written what it received.
    const bool written = QTest::qWaitFor([this] { return QFileInfo::exists(m_log); }, 10000);
    QFile log(m_log);
    if (!written || !log.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList arguments;
    for (const QByteArray& argument : log.readAll().split('\0')) {
        arguments.append(QString::fromUtf8(argument));
    }
    arguments.removeLast();  // after the last terminator
    return arguments;
}

void TestDesktopUrlOpener::helpPageReachesTheViewerAsOneArgument() {
    const QString folder = m_root.filePath(QStringLiteral("a b'c\"d;e $(touch X) `touch X` ü"));
    QVERIFY(QDir().mkpath(folder));

    DesktopUrlOpener opener;
    brightsum::HelpLauncher help(opener, folder);
    help.mnuHowtoPlay_Click();

    const QStringList arguments = waitForViewerArguments();
    QCOMPARE(arguments.size(), 1);
    QCOMPARE(QUrl(arguments.first()).toLocalFile(), folder + QStringLiteral("/readme.htm"));
    QVERIFY(!QFileInfo::exists(m_root.filePath(QStringLiteral("X"))));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/X")));
}

void TestDesktopUrlOpener::webSiteReachesTheViewerAsOneArgument() {
    DesktopUrlOpener opener;
    brightsum::frmAbout about(opener);
    about.Label3_Click();

    const QStringList arguments = waitForViewerArguments();
    QCOMPARE(arguments, QStringList{QStringLiteral(BRIGHTSUM_EXPECTED_WEB_ADDRESS "/")});
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

#include "tst_DesktopUrlOpener.moc"
