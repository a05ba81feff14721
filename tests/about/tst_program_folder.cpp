// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder is the executable's own folder, taken as bytes from the kernel, so that a
// folder whose name is no text still holds the help page (and the wave files and the scores).
// A copy of this test is run from folders with hostile names and reports what it found.

#include "GameSession.h"
#include "HelpLauncher.h"
#include "WidgetTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

extern char** environ;

namespace {

constexpr const char* kReport = "--report-program-folder";

// What the copy prints: the program folder's bytes and the help page's address, each ended by
// a NUL, since a line break may be part of the folder's name.
int reportProgramFolder() {
    const std::filesystem::path folder = brightsum::GameSession::programFolder();
    brightsum::RecordingUrlOpener opener;
    const QByteArray address = brightsum::HelpLauncher(opener, folder).helpPageUrl().toEncoded();
    std::fwrite(folder.c_str(), 1, folder.native().size() + 1, stdout);
    std::fwrite(address.constData(), 1, static_cast<std::size_t>(address.size()) + 1, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// Runs a program by its path's bytes (QProcess takes the path as text, which cannot hold
// every name) and returns what it printed, or nothing when it did not end with status 0.
std::optional<QByteArray> runForOutput(const std::string& program, const char* argument) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string path = program;
    std::string arg = argument;
    char* argv[] = {path.data(), arg.data(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    QByteArray output;
    char buffer[4096];
    for (ssize_t got; spawned == 0 && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0) {
            output.append(buffer, got);
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

}  // namespace

class ProgramFolderTest : public QObject {
    Q_OBJECT

private slots:
    void isTheExecutablesFolderWhateverItsName_data();
    void isTheExecutablesFolderWhateverItsName();
    void dataFolderIsBuiltFromTheEnvironmentsBytes_data();
    void dataFolderIsBuiltFromTheEnvironmentsBytes();
};

void ProgramFolderTest::isTheExecutablesFolderWhateverItsName_data() {
    QTest::addColumn<QByteArray>("folderName");
    QTest::newRow("blanks and shell syntax") << QByteArray("My Games; $(touch X) 'it'");
    QTest::newRow("Latin-1 byte, not UTF-8") << QByteArray("Spiele f\xfcr Kinder");
    QTest::newRow("line break") << QByteArray("two\nlines");
}

void ProgramFolderTest::isTheExecutablesFolderWhateverItsName() {
    QFETCH(QByteArray, folderName);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeFolder = qScopeGuard(
        [&root] { std::filesystem::remove_all(QFile::encodeName(root.path()).toStdString()); });
    const std::string folder = (QFile::encodeName(root.path()) + '/' + folderName).toStdString();
    const std::filesystem::path copy = std::filesystem::path(folder) / "brightsum-probe";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::filesystem::read_symlink("/proc/self/exe"), copy);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    std::ofstream(std::filesystem::path(folder) / "readme.htm") << "<html></html>\n";

    const auto output = runForOutput(copy.native(), kReport);
    QVERIFY(output);
    const QList<QByteArray> fields = output->split('\0');
    QCOMPARE(fields.size(), 3);  // two fields and what follows the last NUL
    QCOMPARE(fields[0], QByteArray::fromStdString(folder));

    // The help page's address leads back to the page's bytes.
    const QUrl page = QUrl::fromEncoded(fields[1], QUrl::StrictMode);
    QVERIFY(page.isLocalFile());
    const QByteArray pagePath =
        QByteArray::fromPercentEncoding(page.path(QUrl::FullyEncoded).toLatin1());
    QCOMPARE(pagePath, QByteArray::fromStdString(folder + "/readme.htm"));
    QVERIFY(std::filesystem::is_regular_file(pagePath.toStdString()));
}

// The data folder, where the table goes when the program folder cannot be written, follows
// the freedesktop.org base directory rules on the environment's bytes.
void ProgramFolderTest::dataFolderIsBuiltFromTheEnvironmentsBytes_data() {
    QTest::addColumn<QByteArray>("dataHome");  // XDG_DATA_HOME; null: unset
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("ordinary home") << QByteArray() << QByteArray("/home/ada")
                                   << QByteArray("/home/ada/.local/share/brightsum");
    QTest::newRow("home not UTF-8") << QByteArray() << QByteArray("/home/J\xfcrgen")
                                    << QByteArray("/home/J\xfcrgen/.local/share/brightsum");
    QTest::newRow("XDG_DATA_HOME not UTF-8")
        << QByteArray("/srv/J\xfcrgen") << QByteArray("/home/ada")
        << QByteArray("/srv/J\xfcrgen/brightsum");
    QTest::newRow("relative XDG_DATA_HOME, ignored")
        << QByteArray("share") << QByteArray("/home/ada")
        << QByteArray("/home/ada/.local/share/brightsum");
}

void ProgramFolderTest::dataFolderIsBuiltFromTheEnvironmentsBytes() {
    QFETCH(QByteArray, dataHome);
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, folder);
    const std::optional<QByteArray> oldDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME")
                                                      ? std::optional(qgetenv("XDG_DATA_HOME"))
                                                      : std::nullopt;
    const QByteArray oldHome = qgetenv("HOME");
    const auto restore = qScopeGuard([&] {
        oldDataHome ? qputenv("XDG_DATA_HOME", *oldDataHome) : qunsetenv("XDG_DATA_HOME");
        qputenv("HOME", oldHome);
    });
    dataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome);
    qputenv("HOME", home);
    QCOMPARE(QByteArray::fromStdString(brightsum::GameSession::dataFolder().native()), folder);
}

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], kReport) == 0) {
        return reportProgramFolder();
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("brightsum");  // as the game names itself
    ProgramFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program_folder.moc"
