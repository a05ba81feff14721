// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>

using namespace brightsum;
using namespace brightsum::testfiles;

#ifndef _WIN32
namespace {

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

// Someone running the game: root is this process itself.
struct Player {
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t umask = 022;
};
const Player kNobody{65534, 65534};
const Player kPupil{65533, 65533};

}  // namespace

#define REQUIRE_MOUNTS()                   \
    if (!m_canMount) {                     \
        QSKIP(qPrintable(m_mountProblem)); \
    }

#define REQUIRE_OTHER_PLAYERS()                                                    \
    if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty()) { \
        QSKIP("playing as other users needs root and setpriv");                    \
    }
#endif

// What a computer can do to the file: folders that cannot be written, odd things named
// "hiscore.dat", a full disk, a program killed in the middle of a save.
//
// The tests run as root, which ignores permission bits; read-only folders are made real with
// read-only bind mounts in a mount namespace of this process alone (so nothing outlives the
// test), and permission bits are tried with an unprivileged user through setpriv.
class HighScoreFaultsTest : public QObject, private Folders {
    Q_OBJECT

private slots:
#ifndef _WIN32
    void initTestCase() {
        // A private mount namespace: every mount made below vanishes with this process, even
        // when a test fails half-way.
        if (::unshare(CLONE_NEWNS) != 0) {
            m_mountProblem =
                QString("read-only mounts need root in a mount namespace: %1").arg(strerror(errno));
        } else if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            m_mountProblem = QString("cannot make mounts private: %1").arg(strerror(errno));
        } else {
            m_canMount = true;
        }
    }

#endif

    void init() {
        QVERIFY(makeFolders());
    }
    void cleanup() {
#ifdef _WIN32
        ::SetFileAttributesW(pathOf(programFile()).c_str(), FILE_ATTRIBUTE_NORMAL);
#else
        ::chmod(local(m_program).constData(), 0755);  // so that the folder can be removed
        while (!m_mounts.isEmpty()) {
            ::umount2(local(m_mounts.takeLast()).constData(), MNT_DETACH);
        }
#endif
        m_dir.reset();
    }

#ifndef _WIN32
    void readOnlyProgramFolderOrFileMovesToTheDataFolder_data() {
        QTest::addColumn<QString>("readOnly");
        QTest::newRow("program folder") << "program";
        QTest::newRow("program file, folder writable") << "program/hiscore.dat";
    }

    void readOnlyProgramFolderOrFileMovesToTheDataFolder() {
        QFETCH(QString, readOnly);
        REQUIRE_MOUNTS();
        QVERIFY(writeBytes(programFile(), fixture("cp1252.dat")));
        QVERIFY(makeReadOnly(m_dir->filePath(readOnly)));

        const HighScoreFile file = scoreFile();
        QCOMPARE(file.place(), HighScoreFile::Place::DataFolder);
        QCOMPARE(QString::fromStdString(file.path().string()), dataFile());
        QCOMPARE(readBytes(dataFile()), fixture("cp1252.dat"));  // seeded before any load
        HighScoreTable table;
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(rowsOf(table), fixtureRows("cp1252.dat"));
        table.InsertHighScore(1, "Nova", 10000, 5);
        QVERIFY(file.SaveHighScores(table));
        QVERIFY(readBytes(dataFile()).startsWith("\" 10000\",\"Nova\",\" 5\"\r\n"));
        QCOMPARE(readBytes(programFile()), fixture("cp1252.dat"));  // never replaced
        QCOMPARE(hiddenEntries(m_program), QStringList());

        // Without a file in the program folder the data folder starts from the default table.
        const QString empty = m_dir->filePath("empty");
        const QString fresh = m_dir->filePath("fresh");
        QVERIFY(QDir().mkpath(empty) && makeReadOnly(empty));
        QVERIFY(HighScoreFile(empty.toStdString(), fresh.toStdString()).LoadHighScores(table));
        QCOMPARE(readBytes(fresh + "/hiscore.dat"), fixture("default.dat"));
    }

    void permissionBitsAreRespected_data() {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("toData");
        QTest::newRow("folder not writable, file writable") << 0555 << 0666 << true;
        QTest::newRow("file not writable") << 0777 << 0444 << true;
        QTest::newRow("both writable") << 0777 << 0666 << false;
    }

    void permissionBitsAreRespected() {
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QFETCH(bool, toData);
        const bool root = ::geteuid() == 0;
        if (root && QStandardPaths::findExecutable("setpriv").isEmpty()) {
            QSKIP("running as root without setpriv: permission bits cannot be tried");
        }
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        QCOMPARE(::chmod(local(m_dir->path()).constData(), 0755), 0);
        QCOMPARE(::chmod(local(programFile()).constData(), fileMode), 0);
        QCOMPARE(::chmod(local(m_program).constData(), folderMode), 0);
        QVERIFY(QDir().mkpath(m_data));
        if (root) {
            QCOMPARE(::chown(local(m_data).constData(), 65534, 65534), 0);
        }

        QCOMPARE(runProbe({"load", m_program, m_data}, root ? kNobody : Player{}),
                 QByteArray("saved Mira"));
        QCOMPARE(readBytes(toData ? dataFile() : programFile()), fixture("ten.dat"));
        QCOMPARE(QFileInfo::exists(dataFile()), toData);
        if (toData) {
            QCOMPARE(QFileInfo(programFile()).permissions() & QFileDevice::WriteOther,
                     fileMode & 02 ? QFileDevice::WriteOther : QFileDevice::Permissions());
        }
    }

    void bothFoldersReadOnlyStillShowTheTable() {
        REQUIRE_MOUNTS();
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        QVERIFY(QDir().mkpath(m_data));
        QVERIFY(makeReadOnly(m_program) && makeReadOnly(m_data));

        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(!file.LoadHighScores(table));             // nothing could be written ...
        QCOMPARE(rowsOf(table), fixtureRows("ten.dat"));  // ... the table is there
        table.InsertHighScore(1, "Nova", 10000, 5);
        QVERIFY(!file.SaveHighScores(table));
        QVERIFY(file.ReadHighScoreFile(table));
        QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
        QVERIFY(QDir(m_data).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

        // With no file anywhere the game still gets the default table.
        const QString bare = m_dir->filePath("bare");
        QVERIFY(QDir().mkpath(bare) && makeReadOnly(bare));
        QVERIFY(!HighScoreFile(bare.toStdString(), m_data.toStdString()).LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
    }

    // A "hiscore.lock" that cannot be locked never means a save without the lock: the save
    // writes nothing and fails, so that the game keeps the entry and says so. A lock file the
    // player can open at all, even only for reading, locks.
    void unusableLockNeverMeansNoLock_data() {
        QTest::addColumn<QString>("lock");  // what stands at "hiscore.lock"
        QTest::addColumn<bool>("saves");
        QTest::newRow("directory") << "directory" << false;
        QTest::newRow("named pipe") << "fifo" << false;
        QTest::newRow("another player's, 0600") << "0600" << false;
        QTest::newRow("another player's, 0644") << "0644" << true;
        QTest::newRow("another player's, 0644, held by them") << "held" << false;
        QTest::newRow("made by a player with umask 077") << "umask 077" << true;
    }

    void unusableLockNeverMeansNoLock() {
        QFETCH(QString, lock);
        QFETCH(bool, saves);
        REQUIRE_OTHER_PLAYERS();
        QVERIFY(shareProgramFolder(0777));
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        QCOMPARE(::chmod(local(programFile()).constData(), 0666), 0);
        const QByteArray lockFile = local(m_program + "/hiscore.lock");
        QProcess holder;
        if (lock == "directory") {
            QCOMPARE(::mkdir(lockFile.constData(), 0777), 0);
        } else if (lock == "fifo") {
            QCOMPARE(::mkfifo(lockFile.constData(), 0666), 0);
        } else if (lock == "umask 077") {
            QCOMPARE(runProbe({"load", m_program, m_data}, {kPupil.uid, kPupil.gid, 077}),
                     QByteArray("saved Mira"));
        } else {
            QVERIFY(writeBytes(lockFile, ""));
            QCOMPARE(::chmod(lockFile.constData(), lock == "0600" ? 0600 : 0644), 0);
        }
        if (lock == "held") {
            holder.start(BRIGHTSUM_PROBE, {"hold-lock", m_program, m_data});
            QVERIFY(holder.waitForReadyRead(60000));
            QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        }

        QCOMPARE(runProbe({"play", m_program, m_data, "Nova", "99999", "1"}, kNobody),
                 QByteArray(saves ? "played 1" : "unsaved Nova0"));
        QCOMPARE(readBytes(programFile()).contains("Nova0"), saves);
        QVERIFY(!QFileInfo::exists(m_data));
        holder.closeWriteChannel();
        QVERIFY(lock != "held" || holder.waitForFinished(60000));
    }

    // Folders that a class shares keep one table for all: a folder with the sticky bit
    // (1777), where another pupil's table may be written but not replaced; a group's folder
    // (setgid 2775) whose pupils share files through a umask of 002; a FAT stick, whose files
    // have no modes to set. No pupil's score goes to a table of their own.
    void sharedFoldersKeepOneTable_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("before");  // the table another pupil left there
        QTest::addColumn<int>("room");           // bytes the disk takes; -1: enough
        const QByteArray ten = fixture("ten.dat");
        QTest::newRow("sticky class folder") << "sticky" << ten << -1;
        QTest::newRow("sticky, table damaged") << "sticky" << fixture("nine-lines.dat") << -1;
        // The new table fits beside the old one, but not a second time into it.
        QTest::newRow("sticky, disk full mid-write") << "sticky" << ten << int(ten.size() * 3 / 2);
        QTest::newRow("group folder") << "group" << QByteArray() << -1;
        QTest::newRow("FAT stick") << "fat" << ten << -1;
    }

    void sharedFoldersKeepOneTable() {
        QFETCH(QString, folder);
        QFETCH(QByteArray, before);
        QFETCH(int, room);
        REQUIRE_OTHER_PLAYERS();
        constexpr gid_t kClass = 4242;
        const Player pupil{65534, folder == "group" ? kClass : 65534, 002};
        if (folder == "fat") {
            REQUIRE_MOUNTS();
            const QString problem = mountFat(m_program);
            if (!problem.isEmpty()) {
                QSKIP(qPrintable(problem));
            }
        } else {
            QVERIFY(shareProgramFolder(folder == "sticky" ? 01777 : 02775));
            QCOMPARE(::chown(local(m_program).constData(), 0, kClass), 0);
        }
        // A data folder of the pupil's own, where a table of their own could go.
        QVERIFY(QDir().mkpath(m_data));
        QCOMPARE(::chown(local(m_data).constData(), pupil.uid, pupil.gid), 0);
        if (!before.isEmpty()) {
            QVERIFY(writeBytes(programFile(), before));
            ::chmod(local(programFile()).constData(), 0666);  // FAT has no modes to set
        }
        if (folder == "group") {
            const Player first{65533, kClass, 002};
            QCOMPARE(runProbe({"play", m_program, m_data, "Ada", "99999", "1"}, first),
                     QByteArray("played 1"));
        }

        // Only root may mount FUSE file systems for itself alone: it plays on the stick.
        const QByteArray played = runProbe({"play", m_program, m_data, "Bo", "99998", "1"},
                                           folder == "fat" ? Player{} : pupil, room);
        if (room >= 0) {  // the old table is whole again
            QCOMPARE(played, QByteArray("unsaved Bo0"));
            QCOMPARE(readBytes(programFile()), before);
            return;
        }
        QCOMPARE(played, QByteArray("played 1"));
        const QByteArray shared = readBytes(programFile());
        QVERIFY(shared.contains("\"Bo0\""));
        QCOMPARE(shared.contains("\"Ada0\""), folder == "group");
        QCOMPARE(shared.contains("\"Mira\""), before == fixture("ten.dat"));
        QCOMPARE(readBytes(m_program + "/hiscore.bad"), before == fixture("ten.dat") ? "" : before);
        QVERIFY(!QFileInfo::exists(dataFile()));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

#else
    // A file the player marked read-only is left as it is: the table moves to the data
    // folder, seeded from it. (Windows checks the attribute even where an administrator could
    // open the file for writing.)
    void readOnlyFileMovesToTheDataFolder() {
        QVERIFY(writeBytes(programFile(), fixture("cp1252.dat")));
        QVERIFY(::SetFileAttributesW(pathOf(programFile()).c_str(), FILE_ATTRIBUTE_READONLY));

        const HighScoreFile file = scoreFile();
        QCOMPARE(file.place(), HighScoreFile::Place::DataFolder);
        QCOMPARE(file.path(), pathOf(dataFile()));
        QCOMPARE(readBytes(dataFile()), fixture("cp1252.dat"));
        HighScoreTable table;
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(rowsOf(table), fixtureRows("cp1252.dat"));
        table.InsertHighScore(1, "Nova", 10000, 5);
        QVERIFY(file.SaveHighScores(table));
        QVERIFY(readBytes(dataFile()).startsWith("\" 10000\",\"Nova\",\" 5\"\r\n"));
        QCOMPARE(readBytes(programFile()), fixture("cp1252.dat"));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    // A damaged file that has a name outside the folder too (a hard link made there):
    // "hiscore.bad" is a copy, never one more name for that file.
    void damagedFileWithAnotherNameIsCopied() {
        const QString outside = m_dir->filePath("outside.dat");
        QVERIFY(writeBytes(outside, fixture("nine-lines.dat")));
        QVERIFY(::CreateHardLinkW(pathOf(programFile()).c_str(), pathOf(outside).c_str(), nullptr));
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        const QString bad = m_program + "/hiscore.bad";
        QCOMPARE(readBytes(bad), fixture("nine-lines.dat"));
        QVERIFY(fileIdOf(bad) != fileIdOf(outside));
        QCOMPARE(readBytes(outside), fixture("nine-lines.dat"));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }
#endif

    void oddThingsNamedLikeTheFile_data() {
        QTest::addColumn<QString>("inProgram");  // what "hiscore.dat" is in the program folder
        QTest::addColumn<QString>("inData");     // ... in the data folder; "none": no data folder
        QTest::addColumn<QString>("landsIn");    // where the default table is written
        QTest::newRow("directory") << "directory"
                                   << ""
                                   << "data";
#ifndef _WIN32
        QTest::newRow("named pipe") << "fifo"
                                    << ""
                                    << "data";
        QTest::newRow("dangling symlink") << "dangling"
                                          << ""
                                          << "program";
#endif
        QTest::newRow("directory in both folders") << "directory"
                                                   << "directory"
                                                   << "";
        QTest::newRow("directory, no data folder") << "directory"
                                                   << "none"
                                                   << "";
    }

    void oddThingsNamedLikeTheFile() {
        QFETCH(QString, inProgram);
        QFETCH(QString, inData);
        QFETCH(QString, landsIn);
#ifdef _WIN32
        const auto make = [](const QString& kind, const QString& path) {
            return kind == "directory" ? QDir().mkpath(path + "/keep") : true;
        };
#else
        const auto make = [this](const QString& kind, const QString& path) {
            return kind == "directory" ? QDir().mkpath(path + "/keep")
                   : kind == "fifo" ? ::mkfifo(local(path).constData(), 0644) == 0
                   : kind == "dangling" ? QFile::link(m_dir->filePath("nowhere"), path)
                                        : true;
        };
#endif
        QVERIFY(make(inProgram, programFile()) && make(inData, dataFile()));
        const QString working = m_dir->filePath("working");
        const QString previous = QDir::currentPath();
        QVERIFY(QDir().mkpath(working) && QDir::setCurrent(working));

        const HighScoreFile file(pathOf(m_program),
                                 inData == "none" ? std::filesystem::path() : pathOf(m_data));
        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(1, "Nova", 10000, 5);
        const HighScoreTable before = table;
        const bool read = file.ReadHighScoreFile(table);
        const bool keptTable = table == before;
        const bool loaded = file.LoadHighScores(table);  // must neither hang nor crash
        const bool saved = file.SaveHighScores(table);
        QVERIFY(QDir::setCurrent(previous));

        QVERIFY(!read && keptTable);
        QCOMPARE(loaded, !landsIn.isEmpty());
        QCOMPARE(saved, !landsIn.isEmpty());
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        if (!landsIn.isEmpty()) {
            QCOMPARE(readBytes(landsIn == "data" ? dataFile() : programFile()),
                     fixture("default.dat"));
        }
        // What is no file is left alone, a dangling link is replaced, and nothing lands elsewhere.
        QVERIFY(QFileInfo::exists(programFile()) && !QFileInfo(programFile()).isSymLink());
        QCOMPARE(QFileInfo(programFile()).isFile(), landsIn == "program");
        QCOMPARE(QFileInfo(dataFile() + "/keep").isDir(), inData == "directory");
        QVERIFY(!QFileInfo::exists(m_dir->filePath("nowhere")));
        QVERIFY(QDir(working).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(hiddenEntries(m_data) + hiddenEntries(m_program), QStringList());
        QVERIFY(!QFileInfo::exists(m_program + "/hiscore.bad"));
        QVERIFY(!QFileInfo::exists(m_data + "/hiscore.bad"));
    }

#ifndef _WIN32
    void symlinkIsReplacedNotWrittenThrough() {
        const QString target = m_dir->filePath("elsewhere.dat");
        QVERIFY(writeBytes(target, fixture("ten.dat")));
        QVERIFY(QFile::link(target, programFile()));

        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(file.ReadHighScoreFile(table));  // reading follows the link
        QCOMPARE(rowsOf(table), fixtureRows("ten.dat"));
        QVERIFY(file.SaveHighScores(HighScoreTable::DefaultHighScores()));
        QVERIFY(!QFileInfo(programFile()).isSymLink());
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        QCOMPARE(readBytes(target), fixture("ten.dat"));

        // A link to a damaged file: its bytes are kept, its target is not touched.
        QVERIFY(writeBytes(target, fixture("nine-lines.dat")));
        QVERIFY(QFile::remove(programFile()) && QFile::link(target, programFile()));
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(readBytes(m_program + "/hiscore.bad"), fixture("nine-lines.dat"));
        QCOMPARE(readBytes(target), fixture("nine-lines.dat"));
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    }

    // A damaged "hiscore.dat" that is a symbolic link to a big file elsewhere, on another file
    // system where this test may mount one: "hiscore.bad" is that link itself. The big file is
    // neither read nor copied, and gains no name in the program folder.
    void damagedLinkIsKeptAsTheLinkItself() {
        const QString elsewhere = m_dir->filePath("elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        if (m_canMount) {
            QVERIFY(mountMemoryFileSystem(elsewhere));
        }
        const QString big = elsewhere + "/big.dat";
        QVERIFY(writeBytes(big, fixture("nine-lines.dat")));
        QCOMPARE(::truncate(local(big).constData(), kBig), 0);  // sparse: takes no space
        QVERIFY(QFile::link(big, programFile()));
        const struct stat target = statOf(big);

        const qint64 before = bytesReadSoFar();
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        const qint64 read = bytesReadSoFar() - before;
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        QVERIFY(!QFileInfo(programFile()).isSymLink());

        const QString bad = m_program + "/hiscore.bad";
        QVERIFY(QFileInfo(bad).isSymLink());
        QCOMPARE(QFileInfo(bad).symLinkTarget(), big);
        QVERIFY(lstatOf(bad).st_ino != target.st_ino);
        QCOMPARE(statOf(big).st_nlink, nlink_t(1));
        QCOMPARE(statOf(big).st_size, kBig);
        QCOMPARE(headOf(big), fixture("nine-lines.dat"));
        if (before >= 0) {
            QVERIFY2(read < 1 << 20, qPrintable(QString::number(read)));
        }
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    // A damaged file that has a name outside the folder too (a hard link made there; as root,
    // even /etc/passwd): "hiscore.bad" is a copy of at most its first MiB, never one more name
    // for it.
    void damagedFileWithAnotherNameIsCopiedAtMostOneMiB_data() {
        QTest::addColumn<qint64>("size");
        QTest::newRow("small, copied whole") << qint64(fixture("nine-lines.dat").size());
        QTest::newRow("200 MiB, first MiB copied") << qint64(kBig);
    }

    void damagedFileWithAnotherNameIsCopiedAtMostOneMiB() {
        QFETCH(qint64, size);
        const QString outside = m_dir->filePath("outside.dat");
        QVERIFY(writeBytes(outside, fixture("nine-lines.dat")));
        QCOMPARE(::truncate(local(outside).constData(), size), 0);
        QCOMPARE(::link(local(outside).constData(), local(programFile()).constData()), 0);

        const qint64 before = bytesReadSoFar();
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        const qint64 read = bytesReadSoFar() - before;
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));

        const QString bad = m_program + "/hiscore.bad";
        // The help page promises the first 1,048,576 bytes.
        const qint64 kept = std::min<qint64>(size, 1048576);
        QVERIFY(S_ISREG(lstatOf(bad).st_mode));
        QVERIFY(lstatOf(bad).st_ino != statOf(outside).st_ino);
        QCOMPARE(lstatOf(bad).st_nlink, nlink_t(1));
        QCOMPARE(statOf(outside).st_nlink, nlink_t(1));  // its name in the folder is replaced
        QCOMPARE(QFileInfo(bad).size(), kept);
        QCOMPARE(headOf(bad), fixture("nine-lines.dat"));
        QCOMPARE(QFileInfo(outside).size(), size);
        if (before >= 0) {
            QVERIFY2(read < 2 << 20, qPrintable(QString::number(read)));
        }
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

#endif

    void diskFullDuringASaveKeepsTheOldFile_data() {
        QTest::addColumn<int>("bytesBeforeFull");
        QTest::newRow("nothing fits") << 0;
        QTest::newRow("half the file fits") << 100;
    }

    void diskFullDuringASaveKeepsTheOldFile() {
        QFETCH(int, bytesBeforeFull);
        // A file that start-up rewrites (one already in the written form is left alone).
        QVERIFY(writeBytes(programFile(), fixture("twelve-lines.dat")));
        HighScoreFile file = scoreFile();
        auto room = std::make_shared<long>(bytesBeforeFull);
        file.setSaveHooks({.write =
                               [room](std::size_t size) {
                                   const long n = std::min<long>(*room, long(size));
                                   *room -= n;
                                   return n;  // 0: the disk is full
                               },
                           .beforeRename = {},
                           .flush = {}});
        HighScoreTable table;
        QVERIFY(!file.LoadHighScores(table));
        QCOMPARE(rowsOf(table), fixtureRows("twelve-lines.dat"));
        QVERIFY(!file.SaveHighScores(HighScoreTable::DefaultHighScores()));
        QCOMPARE(readBytes(programFile()), fixture("twelve-lines.dat"));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    void killedBeforeTheRenameKeepsTheOldFile() {
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        QProcess probe;
        probe.start(BRIGHTSUM_PROBE, {"die-before-rename", m_program, m_data});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        QCOMPARE(probe.readAllStandardOutput(), QByteArray());

        QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
        const QStringList left = hiddenEntries(m_program);
        QCOMPARE(left.size(), 1);  // the temporary file of the killed save
        QVERIFY(readBytes(m_program + "/" + left[0]).contains("Never saved"));

        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        QCOMPARE(rowsOf(table), fixtureRows("ten.dat"));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

private:
#ifndef _WIN32
    static constexpr off_t kBig = off_t(200) << 20;

    // As many of the file's first bytes as the damaged sample has.
    static QByteArray headOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(fixture("nine-lines.dat").size())
                                              : QByteArray();
    }

    static struct stat statOf(const QString& path) {
        struct stat st {};
        if (::stat(local(path).constData(), &st) != 0) {
            st.st_ino = 0;
        }
        return st;
    }

    static struct stat lstatOf(const QString& path) {
        struct stat st {};
        if (::lstat(local(path).constData(), &st) != 0) {
            st.st_ino = 0;
        }
        return st;
    }

    bool mountMemoryFileSystem(const QString& path) {
        if (::mount("tmpfs", local(path).constData(), "tmpfs", 0, "size=256m") != 0) {
            return false;
        }
        m_mounts << path;
        return true;
    }

    static bool runQuietly(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // An empty FAT file system in an image file, mounted on `path` through FUSE, as a USB
    // stick would be. Empty when mounted, else what is missing.
    QString mountFat(const QString& path) {
        const QStringList sbin{"/usr/sbin", "/sbin"};
        const QString mkfs = QStandardPaths::findExecutable("mkfs.fat", sbin);
        if (QStandardPaths::findExecutable("fusefat").isEmpty() || mkfs.isEmpty()) {
            return "a FAT stick needs fusefat and mkfs.fat (Debian: fusefat, dosfstools)";
        }
        const QString image = m_dir->filePath("stick.img");
        if (!writeBytes(image, QByteArray()) || ::truncate(local(image).constData(), 8 << 20) ||
            !runQuietly(mkfs, {"-n", "STICK", image})) {
            return "mkfs.fat could not make a FAT image";
        }
        if (!runQuietly("fusefat", {"-o", "rw+", image, path})) {
            return "fusefat could not mount a FAT image (no /dev/fuse here?)";
        }
        m_mounts << path;
        return {};
    }

    bool makeReadOnly(const QString& path) {
        const QByteArray p = local(path);
        if (::mount(p.constData(), p.constData(), nullptr, MS_BIND, nullptr) != 0) {
            return false;
        }
        m_mounts << path;
        return ::mount(nullptr, p.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                       nullptr) == 0;
    }

    // Runs the probe as this process does, or as another player: uid and gid through
    // setpriv, with the player's umask; with `room`, on a disk that fills after so many bytes.
    static QByteArray runProbe(const QStringList& arguments, const Player& player = {},
                               int room = -1) {
        QProcess probe;
        if (room >= 0) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("HISCORE_PROBE_ROOM", QString::number(room));
            probe.setProcessEnvironment(environment);
        }
        probe.setChildProcessModifier([mask = player.umask] { ::umask(mask); });
        if (player.uid != 0) {
            probe.start("setpriv", QStringList{QString("--reuid=%1").arg(player.uid),
                                               QString("--regid=%1").arg(player.gid),
                                               "--clear-groups", BRIGHTSUM_PROBE} +
                                       arguments);
        } else {
            probe.start(BRIGHTSUM_PROBE, arguments);
        }
        return probe.waitForFinished(60000) ? probe.readAllStandardOutput().trimmed()
                                            : "probe did not finish";
    }

    // A program folder that other players may reach, with a table they may write.
    bool shareProgramFolder(mode_t folderMode) {
        return ::chmod(local(m_dir->path()).constData(), 0755) == 0 &&
               ::chmod(local(m_program).constData(), folderMode) == 0;
    }

    bool m_canMount = false;
    QString m_mountProblem;
    QStringList m_mounts;
#endif
};

QTEST_GUILESS_MAIN(HighScoreFaultsTest)
#include "tst_faults.moc"
