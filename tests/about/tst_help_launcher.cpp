// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutLauncher.h"
#include "Announcer.h"
#include "DesktopUrlOpener.h"
#include "HelpLauncher.h"
#include "HelpViewer.h"
#include "LocalFileAddress.h"
#include "OpenFailureNotice.h"
#include "WidgetTestSupport.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

using brightsum::DesktopUrlOpener;
using brightsum::HelpLauncher;
using brightsum::HelpViewer;
using brightsum::RecordingUrlOpener;
using brightsum::visibleWindows;

class HelpLauncherTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheProgramFoldersPageWhateverItsPath_data();
    void opensTheProgramFoldersPageWhateverItsPath();
    void missingPageIsToldAsMissing();
    void failingViewerOpensTheBuiltInWindow();
    void builtInWindowReadsAFolderNamedInBytes();
    void builtInViewerFollowsLinks();
    void builtInViewerIsReadByLineAndLink();
    void builtInWindowReadsOnlyBoundedFiles_data();
    void builtInWindowReadsOnlyBoundedFiles();
    void desktopOpenerFailureIsWatched_data();
    void desktopOpenerFailureIsWatched();
    void closingTheMainWindowEndsTheProgram_data();
    void closingTheMainWindowEndsTheProgram();
};

namespace {

// A program folder with the given name (bytes, which need not be UTF-8) holding a help page.
struct ProgramFolder {
    ProgramFolder(const QByteArray& name, const char* page)
        : path(QFile::encodeName(root.path()) + '/' + name), pagePath(path + "/readme.htm") {
        std::filesystem::create_directories(path.toStdString());
        std::ofstream(pagePath.toStdString()) << page;
    }
    // QTemporaryDir cannot remove a name that is not UTF-8.
    ~ProgramFolder() { std::filesystem::remove_all(QFile::encodeName(root.path()).toStdString()); }

    QTemporaryDir root;
    const QByteArray path;
    const QByteArray pagePath;
};

}  // namespace

void HelpLauncherTest::opensTheProgramFoldersPageWhateverItsPath_data() {
    // The folder's name as bytes: a folder's name on Linux need not be text at all.
    QTest::addColumn<QByteArray>("folderName");
    QTest::addColumn<QByteArray>("inAddress");  // how the name must stand in the address
    QTest::newRow("blanks and quotes")
        << QByteArray("My Games/it's \"Bright sum\"") << QByteArray("My%20Games/it%27s%20%22");
    QTest::newRow("shell syntax") << QByteArray("a;b & c | d; $(touch X) `touch X`")
                                  << QByteArray("a%3Bb%20%26%20c%20%7C%20d%3B%20%24%28touch");
    QTest::newRow("non-ASCII letters") << QStringLiteral("Spiele für Kinder/Ærø Ωμέγα").toUtf8()
                                       << QByteArray("f%C3%BCr%20Kinder/%C3%86r%C3%B8");
    QTest::newRow("URL characters")
        << QByteArray("50% #1 ?x=y&z") << QByteArray("50%25%20%231%20%3Fx%3Dy%26z/readme.htm");
    QTest::newRow("Latin-1 byte, not UTF-8")
        << QByteArray("Spiele f\xfcr Kinder") << QByteArray("/Spiele%20f%FCr%20Kinder/");
    QTest::newRow("line break") << QByteArray("two\nlines\r") << QByteArray("/two%0Alines%0D/");
}

void HelpLauncherTest::opensTheProgramFoldersPageWhateverItsPath() {
    QFETCH(QByteArray, folderName);
    QFETCH(QByteArray, inAddress);
    const ProgramFolder folder(folderName, "<html></html>\n");
    const QByteArray& pagePath = folder.pagePath;
    QVERIFY(std::filesystem::is_regular_file(pagePath.toStdString()));

    RecordingUrlOpener opener;
    HelpLauncher help(opener, folder.path.toStdString());
    help.mnuHowtoPlay_Click();
    help.mnuHowtoPlay_Click();  // every choice opens it again

    QCOMPARE(opener.opened.size(), 2);
    const QUrl url = opener.opened.first();
    QCOMPARE(opener.opened.last(), url);
    QVERIFY(url.isValid());
    QVERIFY(url.isLocalFile());
    QVERIFY(url.host().isEmpty());
    // The address as a viewer receives it: plain ASCII, every other byte percent-encoded...
    const QByteArray sent = url.toEncoded();
    for (const char c : sent) {
        QVERIFY2(c > ' ' && c < 127, sent.constData());
    }
    QVERIFY2(sent.contains(inAddress), sent.constData());
    // ...and read back it names exactly the page's bytes.
    const QUrl received = QUrl::fromEncoded(sent, QUrl::StrictMode);
    QVERIFY(received.isLocalFile());
    QCOMPARE(QByteArray::fromPercentEncoding(received.path(QUrl::FullyEncoded).toLatin1()),
             pagePath);
    QCOMPARE(QByteArray::fromStdString(brightsum::localFilePath(received).native()), pagePath);
    // Where the name is text, Qt's own reading of the address agrees.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(pagePath);
    if (!utf8.hasError()) {
        QCOMPARE(received.toLocalFile(), text);
    }
}

// No page to open: the player is told that the page is missing, not that no program could
// be started, and no viewer is tried.
void HelpLauncherTest::missingPageIsToldAsMissing() {
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, std::filesystem::path("/opt/bright sum"));
    help.mnuHowtoPlay_Click();  // returns: the note does not wait for the player

    QVERIFY(opener.opened.isEmpty());
    const QList<QMessageBox*> notes = visibleWindows<QMessageBox>();
    QCOMPARE(notes.size(), 1);
    QVERIFY(!notes.first()->isModal());
    QCOMPARE(
        notes.first()->text(),
        QStringLiteral("The help page /opt/bright sum/readme.htm is missing or cannot be read."));
    delete notes.first();
}

namespace {

const QString kRealPage = QStringLiteral(BRIGHTSUM_PROGRAM_DIR "/readme.htm");

}  // namespace

// The desktop's viewer started but reported a failure later: the page opens in the program's
// own window, titled with the page's title, once however often the failure comes.
void HelpLauncherTest::failingViewerOpensTheBuiltInWindow() {
    RecordingUrlOpener opener;
    HelpLauncher help(opener, std::filesystem::path(BRIGHTSUM_PROGRAM_DIR));
    help.mnuHowtoPlay_Click();
    QVERIFY(!help.viewer());  // the desktop's viewer may yet show it

    opener.running.first()();
    HelpViewer* viewer = help.viewer();
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Brightsum: how to play"));
    const QString text = viewer->browser()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("hiscore.lock")));
    QTest::keyClicks(viewer->browser(), QStringLiteral("xy"));
    QTest::keyClick(viewer->browser(), Qt::Key_Delete);
    QCOMPARE(viewer->browser()->toPlainText(), text);  // the player cannot change the page
    QVERIFY(visibleWindows<QMessageBox>().isEmpty());

    help.mnuHowtoPlay_Click();
    opener.running.last()();
    QCOMPARE(help.viewer(), viewer);
    QCOMPARE(visibleWindows<HelpViewer>().size(), 1);

    // A grab for people to look at; the test asserts on it no further.
    const QString artifacts = QStringLiteral(BRIGHTSUM_ARTIFACTS_DIR);
    QDir().mkpath(artifacts);
    viewer->grab().save(artifacts + QStringLiteral("/help-viewer.png"));

    QPointer<HelpViewer> closing = viewer;
    QTest::keyClick(viewer->browser(), Qt::Key_Escape);
    QTRY_VERIFY(closing.isNull());
    QVERIFY(!help.viewer());
}

// No viewer on the desktop and a program folder whose name is not text: the program's own
// window still reads the page.
void HelpLauncherTest::builtInWindowReadsAFolderNamedInBytes() {
    const ProgramFolder folder("Spiele f\xfcr Kinder",
                               "<html><head><title>Hilfe</title></head>"
                               "<body><p>Zwei Zahlen ergeben das Ziel.</p></body></html>\n");
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, folder.path.toStdString());
    help.mnuHowtoPlay_Click();

    QVERIFY(visibleWindows<QMessageBox>().isEmpty());
    HelpViewer* viewer = help.viewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Hilfe"));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Zwei Zahlen")));
    QCOMPARE(viewer->browser()->source(), opener.opened.first());
    viewer->close();
}

void HelpLauncherTest::builtInViewerFollowsLinks() {
    RecordingUrlOpener opener;
    HelpViewer viewer(QUrl::fromLocalFile(kRealPage), opener);
    viewer.resize(400, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTextBrowser* page = viewer.browser();
    QScrollBar* scroll = page->verticalScrollBar();
    QCOMPARE(scroll->value(), 0);

    // The page's own anchors move within it; nothing is handed to the desktop.
    emit page->anchorClicked(QUrl(QStringLiteral("#files")));
    QVERIFY(scroll->value() > 0);
    const int atFiles = scroll->value();
    emit page->anchorClicked(QUrl(QStringLiteral("#keyboard")));
    QVERIFY(scroll->value() > 0 && scroll->value() < atFiles);
    QVERIFY(opener.opened.isEmpty());
    QCOMPARE(page->source(), QUrl::fromLocalFile(kRealPage));

    // Anything else goes to the desktop, and a failure there is told, not swallowed.
    const QUrl web(QStringLiteral("https://example.org/games"));
    emit page->anchorClicked(web);
    QCOMPARE(opener.opened, QList<QUrl>{web});
    QVERIFY(visibleWindows<QMessageBox>().isEmpty());
    opener.running.last()();
    const QList<QMessageBox*> notes = visibleWindows<QMessageBox>();
    QCOMPARE(notes.size(), 1);
    QVERIFY(notes.first()->text().contains(web.toString()));
    delete notes.first();
    QCOMPARE(page->source(), QUrl::fromLocalFile(kRealPage));
}

// Qt shows a QTextBrowser to screen readers as a label, which Orca reads whole when it gets the
// focus, and without a caret the arrow keys read nothing; nor is a link heard that Tab reaches.
void HelpLauncherTest::builtInViewerIsReadByLineAndLink() {
    ProgramFolder folder("help",
                         "<html><body><h1>Playing</h1><p>Pick two numbers that make the target "
                         "number, before the clock runs out, and pick them quickly.</p>"
                         "<p><a href=\"#levels\">the levels</a> <a href=\"#keys\">the keys</a></p>"
                         "<h2 id=\"levels\">Five levels</h2><p>Bigger numbers.</p>"
                         "<h2 id=\"keys\">Keys</h2><p>Tab and Space.</p></body></html>");
    RecordingUrlOpener opener;
    HelpViewer viewer(QUrl::fromLocalFile(QFile::decodeName(folder.pagePath)), opener);
    viewer.resize(200, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTextBrowser* page = viewer.browser();
    QCOMPARE(QApplication::focusWidget(), page);
    auto* announcer = viewer.findChild<brightsum::Announcer*>();
    QVERIFY(announcer);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(page);
    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().readOnly);
    const auto lineAtCaret = [text] {
        int start = 0;
        int end = 0;
        return text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    };
    QCOMPARE(lineAtCaret(), QStringLiteral("Playing"));

    // Down reads the next line as laid out in the narrow window, not the whole paragraph.
    QTest::keyClick(page, Qt::Key_Down);
    const QString line = lineAtCaret();
    QVERIFY2(line.startsWith(QStringLiteral("Pick two")), qPrintable(line));
    QVERIFY2(!line.contains(QStringLiteral("quickly")), qPrintable(line));
    int start = 0;
    int end = 0;
    QVERIFY(text->textAfterOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end)
                .size() > 0);
    QCOMPARE(
        text->textBeforeOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end),
        QStringLiteral("Playing"));

    // Tab and Shift+Tab go from link to link and say which.
    QTest::keyClick(page, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(announcer->shown(), QStringLiteral("the levels, link"));
    QTest::keyClick(page, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCOMPARE(announcer->shown(), QStringLiteral("the keys, link"));
    QTest::keyClick(page, Qt::Key_Backtab, Qt::ShiftModifier);
    QCoreApplication::processEvents();
    QCOMPARE(announcer->shown(), QStringLiteral("the levels, link"));

    // Return follows the link; reading goes on from where it leads.
    QTest::keyClick(page, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(announcer->shown(), QStringLiteral("Five levels"));
    QCOMPARE(lineAtCaret(), QStringLiteral("Five levels"));
    QTest::keyClick(page, Qt::Key_Down);
    QCOMPARE(lineAtCaret(), QStringLiteral("Bigger numbers."));
    QVERIFY(opener.opened.isEmpty());
}

void HelpLauncherTest::builtInWindowReadsOnlyBoundedFiles_data() {
    QTest::addColumn<QByteArray>("picture");
    // Grown-ups may edit the page; what it points at must not crash or freeze the window.
    QTest::newRow("endless device") << QByteArray("file:///dev/zero");
    QTest::newRow("FIFO") << QByteArray("fifo.png");
    QTest::newRow("huge file") << QByteArray("huge.png");
}

void HelpLauncherTest::builtInWindowReadsOnlyBoundedFiles() {
    QFETCH(QByteArray, picture);
    const ProgramFolder folder("bin", "<html><body><p>Two numbers make the target.</p><img src=\"" +
                                          picture + "\"></body></html>\n");
    QVERIFY(::mkfifo((folder.path + "/fifo.png").constData(), 0600) == 0);
    const std::string huge = (folder.path + "/huge.png").toStdString();
    std::ofstream{huge};
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);  // sparse: costs no disk
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, folder.path.toStdString());
    help.mnuHowtoPlay_Click();
    HelpViewer* viewer = help.viewer();
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Two numbers")));
    viewer->close();
}

void HelpLauncherTest::desktopOpenerFailureIsWatched_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("builtIn");
    // What xdg-open does when it is installed but nothing on the desktop can open the page.
    QTest::newRow("opener exits 3") << "exit 3" << true;
    QTest::newRow("opener is killed") << "kill -9 $$" << true;
    QTest::newRow("no opener installed") << "" << true;
    QTest::newRow("opener succeeds") << "exit 0" << false;
}

// The real opener, with a stand-in "xdg-open" first on PATH.
void HelpLauncherTest::desktopOpenerFailureIsWatched() {
    QFETCH(QString, script);
    QFETCH(bool, builtIn);
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString marker = bin.filePath(QStringLiteral("ran"));
    if (!script.isEmpty()) {
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n%2\n").arg(marker, script).toUtf8());
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + (script.isEmpty() ? "" : ":/usr/bin:/bin"));

    {
        DesktopUrlOpener desktop;
        HelpLauncher help(desktop, std::filesystem::path(BRIGHTSUM_PROGRAM_DIR));
        help.mnuHowtoPlay_Click();  // returns before the opener has ended
        qputenv("PATH", path);
        if (!script.isEmpty()) {
            QVERIFY(QTest::qWaitFor([&marker] { return QFileInfo::exists(marker); }, 10000));
        }
        QVERIFY(QTest::qWaitFor([&desktop] { return desktop.idle(); }, 10000));
        QCoreApplication::processEvents();
        QCOMPARE(help.viewer() != nullptr, builtIn);
        // Told once, however the opener failed (a crash ends it with an error and a finish).
        int told = 0;
        qputenv("PATH", QFile::encodeName(bin.path()) + (script.isEmpty() ? "" : ":/usr/bin:/bin"));
        desktop.openUrl(QUrl(QStringLiteral("file:///nowhere")), [&told] { ++told; });
        qputenv("PATH", path);
        QVERIFY(QTest::qWaitFor([&desktop] { return desktop.idle(); }, 10000));
        QCoreApplication::processEvents();
        QCOMPARE(told, builtIn ? 1 : 0);
        if (builtIn) {
            QCOMPARE(help.viewer()->windowTitle(), QStringLiteral("Brightsum: how to play"));
        }
        QVERIFY(visibleWindows<QMessageBox>().isEmpty());
    }
    QVERIFY(visibleWindows<HelpViewer>().isEmpty());
}

void HelpLauncherTest::closingTheMainWindowEndsTheProgram_data() {
    QTest::addColumn<QString>("open");
    QTest::newRow("help window") << "help";
    QTest::newRow("About window") << "about";
    QTest::newRow("failure note") << "note";
}

// Whatever else is open, closing the main window ends the program: no window of ours may keep
// it running, invisible to a player who closed the game.
void HelpLauncherTest::closingTheMainWindowEndsTheProgram() {
    QFETCH(QString, open);
    QMainWindow main;
    main.show();
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, std::filesystem::path(BRIGHTSUM_PROGRAM_DIR));
    brightsum::AboutLauncher about(opener);
    if (open == QLatin1String("help")) {
        help.mnuHowtoPlay_Click();
        QVERIFY(help.viewer());
    } else if (open == QLatin1String("about")) {
        about.mnuAbout_Click();
        QVERIFY(about.window());
    } else {
        brightsum::OpenFailureNotice::show(QStringLiteral("No web browser could be started"));
    }
    // The program's event loop ends by itself, or the guard ends it with 99.
    QTimer::singleShot(0, &main, &QWidget::close);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->close();
    }
}

QTEST_MAIN(HelpLauncherTest)
#include "tst_help_launcher.moc"
