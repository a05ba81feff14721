// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the program folder is the module's own path, in UTF-16, so a folder named in any
// script holds the help page (and the wave files and the scores). A copy of this test is run
// from folders with such names and reports what it found.

#include "GameSession.h"
#include "HelpLauncher.h"
#include "WidgetTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kReport = "--report-program-folder";

// What the copy prints, as UTF-8 lines: the program folder and the help page's local path.
int reportProgramFolder() {
    const std::filesystem::path folder = brightsum::GameSession::programFolder();
    brightsum::RecordingUrlOpener opener;
    const QUrl page = brightsum::HelpLauncher(opener, folder).helpPageUrl();
    const QByteArray report = QString::fromStdWString(folder.native()).toUtf8() + '\n' +
                              page.toLocalFile().toUtf8() + '\n';
    std::fwrite(report.constData(), 1, static_cast<std::size_t>(report.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

class ProgramFolderWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void isTheExecutablesFolderWhateverItsName_data();
    void isTheExecutablesFolderWhateverItsName();
    void dataFolderIsInLocalAppData();
};

void ProgramFolderWindowsTest::isTheExecutablesFolderWhateverItsName_data() {
    QTest::addColumn<QString>("folderName");
    // A narrow (ANSI) path would turn each of these into question marks.
    QTest::newRow("a user called Zoë") << QStringLiteral("Zo\u00eb's games");
    QTest::newRow("CJK") << QStringLiteral("\u5b66\u6821 \u7b97\u6570");
    QTest::newRow("Cyrillic and blanks") << QStringLiteral("\u0406\u0433\u0440\u0438 (2)");
}

void ProgramFolderWindowsTest::isTheExecutablesFolderWhateverItsName() {
    QFETCH(QString, folderName);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.path() + QLatin1Char('/') + folderName;
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder + "/probe.exe"));
    std::ofstream(std::filesystem::path((folder + "/readme.htm").toStdWString()))
        << "<html></html>\n";

    // The copy loads its libraries from this test's folder.
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) +
                                   ';' + environment.value("PATH"));
    copy.setProcessEnvironment(environment);
    copy.start(folder + "/probe.exe", {QString::fromLatin1(kReport)});
    QVERIFY(copy.waitForFinished(60000));
    QCOMPARE(copy.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(copy.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.size(), 3);  // two lines and what follows the last line break
    QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(lines[0])), QDir::cleanPath(folder));
    QCOMPARE(QDir::cleanPath(lines[1]), QDir::cleanPath(folder + "/readme.htm"));
}

// Where the table goes when the program folder cannot be written (an install in Program Files).
void ProgramFolderWindowsTest::dataFolderIsInLocalAppData() {
    const QString localAppData = qEnvironmentVariable("LOCALAPPDATA");
    QVERIFY(!localAppData.isEmpty());
    const QString folder = QString::fromStdWString(brightsum::GameSession::dataFolder().native());
    QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(folder)).toLower(),
             QDir::cleanPath(QDir::fromNativeSeparators(localAppData) + "/Brightsum").toLower());
}

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], kReport) == 0) {
        return reportProgramFolder();
    }
    QCoreApplication app(argc, argv);
    ProgramFolderWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program_folder_windows.moc"
