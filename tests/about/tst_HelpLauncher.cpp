#include "HelpLauncher.h"
#include "RecordingUrlOpener.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using brightsum::HelpLauncher;

class TestHelpLauncher : public QObject {
    Q_OBJECT

private slots:
    void opensTheProgramFoldersPageWhateverItsPath_data();
    void opensTheProgramFoldersPageWhateverItsPath();
    void opensAgainAtEveryChoice();
    void reportsWhenNoViewerCanBeStarted();
};

void TestHelpLauncher::opensTheProgramFoldersPageWhateverItsPath_data() {
    QTest::addColumn<QString>("folderName");
    QTest::newRow("blanks") << QStringLiteral("My Games/Bright sum");
    QTest::newRow("quotes") << QStringLiteral("it's \"quoted\"");
    QTest::newRow("command separators") << QStringLiteral("a;b & c | d; touch X");
    QTest::newRow("command substitution") << QStringLiteral("$(touch X) `touch X`");
    QTest::newRow("non-ASCII letters") << QStringLiteral("Spiele für Kinder/Ærø Ωμέγα");
    QTest::newRow("URL characters") << QStringLiteral("50% #1 ?x=y&z");
    QTest::newRow("all at once") << QStringLiteral("a b'c\"d;e $(touch X) ü #%");
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

    QCOMPARE(opener.opened.size(), 1);
    const QUrl url = opener.opened.first();
    QVERIFY(url.isValid());
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), folder + QStringLiteral("/readme.htm"));
    // The address survives being written out and read back, as a viewer receives it.
    const QUrl received(QString::fromUtf8(url.toEncoded()));
    QVERIFY(QFileInfo(received.toLocalFile()).isFile());
    QCOMPARE(QFileInfo(received.toLocalFile()).canonicalFilePath(),
             QFileInfo(page).canonicalFilePath());
}

void TestHelpLauncher::opensAgainAtEveryChoice() {
    RecordingUrlOpener opener;
    HelpLauncher help(opener, QStringLiteral("/opt/brightsum"));
    help.mnuHowtoPlay_Click();
    help.mnuHowtoPlay_Click();
    help.mnuHowtoPlay_Click();
    const QUrl page = QUrl(QStringLiteral("file:///opt/brightsum/readme.htm"));
    QCOMPARE(opener.opened, (QList<QUrl>{page, page, page}));
}

void TestHelpLauncher::reportsWhenNoViewerCanBeStarted() {
    RecordingUrlOpener opener;
    opener.viewerStarts = false;
    HelpLauncher help(opener, QStringLiteral("/opt/bright sum"));
    help.mnuHowtoPlay_Click();  // returns: the note does not wait for the player

    QList<QMessageBox*> notes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            notes.append(box);
        }
    }
    QCOMPARE(notes.size(), 1);
    QVERIFY(!notes.first()->isModal());
    QVERIFY(notes.first()->text().contains(QStringLiteral("/opt/bright sum/readme.htm")));
    delete notes.first();
}

QTEST_MAIN(TestHelpLauncher)
#include "tst_HelpLauncher.moc"
