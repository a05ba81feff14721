#include "HelpLauncher.h"
#include "AboutTestSupport.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QStringDecoder>
#include <QTest>

#include <filesystem>
#include <fstream>

using brightsum::HelpLauncher;

class TestHelpLauncher : public QObject {
    Q_OBJECT

private slots:
    void opensTheProgramFoldersPageWhateverItsPath_data();
    void opensTheProgramFoldersPageWhateverItsPath();
    void reportsWhenNoViewerCanBeStarted();
};

void TestHelpLauncher::opensTheProgramFoldersPageWhateverItsPath_data() {
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

void TestHelpLauncher::opensTheProgramFoldersPageWhateverItsPath() {
    QFETCH(QByteArray, folderName);
    QFETCH(QByteArray, inAddress);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeFolder = qScopeGuard(
        [&root] { std::filesystem::remove_all(QFile::encodeName(root.path()).toStdString()); });
    const QByteArray folder = QFile::encodeName(root.path()) + '/' + folderName;
    const QByteArray pagePath = folder + "/readme.htm";
    std::filesystem::create_directories(folder.toStdString());
    std::ofstream(pagePath.toStdString()) << "<html></html>\n";
    QVERIFY(std::filesystem::is_regular_file(pagePath.toStdString()));

    RecordingUrlOpener opener;
    HelpLauncher help(opener, folder.toStdString());
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
    // Where the name is text, Qt's own reading of the address agrees.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(pagePath);
    if (!utf8.hasError()) {
        QCOMPARE(received.toLocalFile(), text);
    }
}

void TestHelpLauncher::reportsWhenNoViewerCanBeStarted() {
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, std::filesystem::path("/opt/bright sum"));
    help.mnuHowtoPlay_Click();  // returns: the note does not wait for the player

    const QList<QMessageBox*> notes = visibleWindows<QMessageBox>();
    QCOMPARE(notes.size(), 1);
    QVERIFY(!notes.first()->isModal());
    QVERIFY(notes.first()->text().contains(QStringLiteral("/opt/bright sum/readme.htm")));
    delete notes.first();
}

QTEST_MAIN(TestHelpLauncher)
#include "tst_HelpLauncher.moc"
