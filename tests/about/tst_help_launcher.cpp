#include "HelpLauncher.h"
#include "WidgetTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using brightsum::HelpLauncher;
using brightsum::RecordingUrlOpener;
using brightsum::visibleWindows;

class TestHelpLauncher : public QObject {
    Q_OBJECT

private slots:
    void opensTheProgramFoldersPageWhateverItsPath_data();
    void opensTheProgramFoldersPageWhateverItsPath();
    void reportsWhenNoViewerCanBeStarted();
};

void TestHelpLauncher::opensTheProgramFoldersPageWhateverItsPath_data() {
    QTest::addColumn<QString>("folderName");
    QTest::newRow("blanks and quotes") << QStringLiteral("My Games/it's \"Bright sum\"");
    QTest::newRow("shell syntax") << QStringLiteral("a;b & c | d; $(touch X) `touch X`");
    QTest::newRow("non-ASCII letters") << QStringLiteral("Spiele für Kinder/Ærø Ωμέγα");
    QTest::newRow("URL characters") << QStringLiteral("50% #1 ?x=y&z");
}

void TestHelpLauncher::opensTheProgramFoldersPageWhateverItsPath() {
    QFETCH(QString, folderName);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(folderName);
    QVERIFY(QDir().mkpath(folder));
    QFile page(folder + QStringLiteral("/readme.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();

    RecordingUrlOpener opener;
    HelpLauncher help(opener, folder);
    help.mnuHowtoPlay_Click();
    help.mnuHowtoPlay_Click();  // every choice opens it again

    QCOMPARE(opener.opened.size(), 2);
    const QUrl url = opener.opened.first();
    QCOMPARE(opener.opened.last(), url);
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), folder + QStringLiteral("/readme.htm"));
    // The address survives being written out and read back, as a viewer receives it.
    const QFileInfo received(QUrl(QString::fromUtf8(url.toEncoded())).toLocalFile());
    QCOMPARE(received.canonicalFilePath(), QFileInfo(page).canonicalFilePath());
}

void TestHelpLauncher::reportsWhenNoViewerCanBeStarted() {
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, QStringLiteral("/opt/bright sum"));
    help.mnuHowtoPlay_Click();  // returns: the note does not wait for the player

    const QList<QMessageBox*> notes = visibleWindows<QMessageBox>();
    QCOMPARE(notes.size(), 1);
    QVERIFY(!notes.first()->isModal());
    QVERIFY(notes.first()->text().contains(QStringLiteral("/opt/bright sum/readme.htm")));
    delete notes.first();
}

QTEST_MAIN(TestHelpLauncher)
#include "tst_help_launcher.moc"
