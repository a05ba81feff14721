#include "HighScoreFile.h"

#include "TestFiles.h"

#include <QtTest>

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

std::optional<HighScoreTable> parseBytes(const QByteArray& bytes) {
    return HighScoreFile::parse(std::string_view(bytes.constData(), bytes.size()));
}

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

}  // namespace

// What a computer can do to the file: folders that cannot be written, odd things named
// "hiscore.dat", a full disk, a program killed in the middle of a save.
//
// The tests run as root, which ignores permission bits; read-only folders are made real with
// read-only bind mounts in a mount namespace of this process alone (so nothing outlives the
// test), and permission bits are tried with an unprivileged user through setpriv.
class HighScoreFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readOnlyProgramFolderMovesTheFileToTheDataFolder();
    void readOnlyProgramFileIsNeverReplaced();
    void permissionBitsAreRespected_data();
    void permissionBitsAreRespected();
    void bothFoldersReadOnlyStillShowTheTable();
    void oddThingsNamedLikeTheFile_data();
    void oddThingsNamedLikeTheFile();
    void directoryInBothPlacesIsLeftAlone();
    void symlinkIsReplacedNotWrittenThrough();
    void diskFullDuringASaveKeepsTheOldFile_data();
    void diskFullDuringASaveKeepsTheOldFile();
    void diskFullOnARealFileSystem();
    void killedBeforeTheRenameKeepsTheOldFile();
    void onlyAbandonedTemporaryFilesAreRemoved();

private:
    QString programFile() const { return m_program + "/hiscore.dat"; }
    QString dataFile() const { return m_data + "/hiscore.dat"; }
    bool makeReadOnly(const QString& path);
    QByteArray runProbe(const QStringList& arguments, bool unprivileged);

    bool m_canMount = false;
    QString m_mountProblem;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_data;
    QStringList m_mounts;
};

void HighScoreFaultsTest::initTestCase() {
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

void HighScoreFaultsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_program = m_dir->filePath("program");
    m_data = m_dir->filePath("data");
    QVERIFY(QDir().mkpath(m_program));
}

void HighScoreFaultsTest::cleanup() {
    ::chmod(local(m_program).constData(), 0755);  // so that the folder can be removed
    while (!m_mounts.isEmpty()) {
        ::umount2(local(m_mounts.takeLast()).constData(), MNT_DETACH);
    }
    m_dir.reset();
}

bool HighScoreFaultsTest::makeReadOnly(const QString& path) {
    const QByteArray p = local(path);
    if (::mount(p.constData(), p.constData(), nullptr, MS_BIND, nullptr) != 0) {
        return false;
    }
    m_mounts << path;
    return ::mount(nullptr, p.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

QByteArray HighScoreFaultsTest::runProbe(const QStringList& arguments, bool unprivileged) {
    QProcess probe;
    if (unprivileged) {
        probe.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                           BRIGHTSUM_PROBE} +
                                   arguments);
    } else {
        probe.start(BRIGHTSUM_PROBE, arguments);
    }
    if (!probe.waitForFinished(60000)) {
        return "probe did not finish";
    }
    return probe.readAllStandardOutput().trimmed();
}

#define REQUIRE_MOUNTS()                   \
    if (!m_canMount) {                     \
        QSKIP(qPrintable(m_mountProblem)); \
    }

void HighScoreFaultsTest::readOnlyProgramFolderMovesTheFileToTheDataFolder() {
    REQUIRE_MOUNTS();
    QVERIFY(writeBytes(programFile(), fixture("cp1252.dat")));
    QVERIFY(makeReadOnly(m_program));

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QCOMPARE(file.place(), HighScoreFile::Place::DataFolder);
    QCOMPARE(QString::fromStdString(file.path().string()), dataFile());
    QCOMPARE(readBytes(dataFile()), fixture("cp1252.dat"));  // seeded before any load

    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("cp1252.dat"))));
    table.InsertHighScore(1, "Nova", 10000, 5);
    QVERIFY(file.SaveHighScores(table));
    QCOMPARE(readBytes(programFile()), fixture("cp1252.dat"));

    // Without a file in the program folder the data folder starts from the default table.
    const QString fresh = m_dir->filePath("fresh");
    QVERIFY(QDir().mkpath(m_dir->filePath("empty")));
    QVERIFY(makeReadOnly(m_dir->filePath("empty")));
    const HighScoreFile empty(m_dir->filePath("empty").toStdString(), fresh.toStdString());
    QVERIFY(empty.LoadHighScores(table));
    QCOMPARE(readBytes(fresh + "/hiscore.dat"), fixture("default.dat"));
}

void HighScoreFaultsTest::readOnlyProgramFileIsNeverReplaced() {
    REQUIRE_MOUNTS();
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    QVERIFY(makeReadOnly(programFile()));  // the folder stays writable

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QCOMPARE(file.place(), HighScoreFile::Place::DataFolder);
    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    table.InsertHighScore(1, "Nova", 10000, 5);
    QVERIFY(file.SaveHighScores(table));
    QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
    QVERIFY(readBytes(dataFile()).startsWith("\" 10000\",\"Nova\",\" 5\"\r\n"));
    QCOMPARE(hiddenEntries(m_program), QStringList());
}

void HighScoreFaultsTest::permissionBitsAreRespected_data() {
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<QByteArray>("place");
    QTest::newRow("folder not writable, file writable") << 0555 << 0666 << QByteArray("data");
    QTest::newRow("file not writable") << 0777 << 0444 << QByteArray("data");
    QTest::newRow("both writable") << 0777 << 0666 << QByteArray("program");
}

void HighScoreFaultsTest::permissionBitsAreRespected() {
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QFETCH(QByteArray, place);
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

    const QStringList folders{m_program, m_data};
    const QByteArray where = runProbe(QStringList{"place"} + folders, root);
    const QByteArray expectedPath = local(place == "data" ? dataFile() : programFile());
    QCOMPARE(where, place + " " + expectedPath);
    QCOMPARE(runProbe(QStringList{"load"} + folders, root), QByteArray("saved Mira"));
    QCOMPARE(readBytes(QString::fromLocal8Bit(expectedPath)), fixture("ten.dat"));
    if (place == "data") {
        QCOMPARE(QFileInfo(programFile()).permissions() & QFileDevice::WriteOther,
                 fileMode & 02 ? QFileDevice::WriteOther : QFileDevice::Permissions());
    }
}

void HighScoreFaultsTest::bothFoldersReadOnlyStillShowTheTable() {
    REQUIRE_MOUNTS();
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    QVERIFY(QDir().mkpath(m_data));
    QVERIFY(makeReadOnly(m_program));
    QVERIFY(makeReadOnly(m_data));

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(!file.LoadHighScores(table));  // nothing could be written ...
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));  // ... the table is there
    table.InsertHighScore(1, "Nova", 10000, 5);
    QVERIFY(!file.SaveHighScores(table));
    QVERIFY(file.ReadHighScoreFile(table));
    QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
    QVERIFY(QDir(m_data).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // With no file anywhere the game still gets the default table.
    QVERIFY(QDir().mkpath(m_dir->filePath("bare")));
    QVERIFY(makeReadOnly(m_dir->filePath("bare")));
    const HighScoreFile bare(m_dir->filePath("bare").toStdString(), m_data.toStdString());
    QVERIFY(!bare.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());
}

void HighScoreFaultsTest::oddThingsNamedLikeTheFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("directory") << "directory";
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("dangling symlink") << "dangling";
}

void HighScoreFaultsTest::oddThingsNamedLikeTheFile() {
    QFETCH(QString, kind);
    if (kind == "directory") {
        QVERIFY(QDir().mkpath(programFile() + "/keep"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(local(programFile()).constData(), 0644), 0);
    } else {
        QVERIFY(QFile::link(m_dir->filePath("nowhere"), programFile()));
    }

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    const bool saved = file.LoadHighScores(table);  // must neither hang nor crash
    QVERIFY(saved);
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    if (kind == "dangling") {
        // Nothing was there: the link is simply replaced by the file.
        QCOMPARE(file.place(), HighScoreFile::Place::ProgramFolder);
        QVERIFY(!QFileInfo(programFile()).isSymLink());
        QVERIFY(!QFileInfo::exists(m_dir->filePath("nowhere")));
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    } else {
        // Something that is no file is left alone; the data folder holds the table.
        QCOMPARE(file.place(), HighScoreFile::Place::DataFolder);
        QCOMPARE(readBytes(dataFile()), fixture("default.dat"));
        QVERIFY(kind == "fifo"
                    ? QFileInfo(programFile()).isFile() == false && QFileInfo::exists(programFile())
                    : QFileInfo(programFile() + "/keep").isDir());
    }
    QVERIFY(!QFileInfo::exists(m_program + "/hiscore.bad"));
}

void HighScoreFaultsTest::directoryInBothPlacesIsLeftAlone() {
    QVERIFY(QDir().mkpath(programFile() + "/keep"));
    QVERIFY(QDir().mkpath(dataFile() + "/keep"));
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QCOMPARE(QString::fromStdString(file.path().string()), dataFile());

    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.InsertHighScore(1, "Nova", 10000, 5);
    const HighScoreTable before = table;
    QVERIFY(!file.ReadHighScoreFile(table));
    QVERIFY(table == before);
    QVERIFY(!file.SaveHighScores(table));
    QVERIFY(!file.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    QVERIFY(QFileInfo(dataFile() + "/keep").isDir());
    QVERIFY(QFileInfo(programFile() + "/keep").isDir());
    QCOMPARE(hiddenEntries(m_data), QStringList());
    QVERIFY(!QFileInfo::exists(m_data + "/hiscore.bad"));
}

void HighScoreFaultsTest::symlinkIsReplacedNotWrittenThrough() {
    const QString target = m_dir->filePath("elsewhere.dat");
    QVERIFY(writeBytes(target, fixture("ten.dat")));
    QVERIFY(QFile::link(target, programFile()));

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QCOMPARE(file.place(), HighScoreFile::Place::ProgramFolder);
    HighScoreTable table;
    QVERIFY(file.ReadHighScoreFile(table));  // reading follows the link
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
    QVERIFY(file.SaveHighScores(HighScoreTable::DefaultHighScores()));
    QVERIFY(!QFileInfo(programFile()).isSymLink());
    QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    QCOMPARE(readBytes(target), fixture("ten.dat"));

    // A link to a damaged file: its bytes are kept, its target is not touched.
    QVERIFY(writeBytes(target, fixture("nine-lines.dat")));
    QVERIFY(QFile::remove(programFile()));
    QVERIFY(QFile::link(target, programFile()));
    QVERIFY(file.LoadHighScores(table));
    QCOMPARE(readBytes(m_program + "/hiscore.bad"), fixture("nine-lines.dat"));
    QCOMPARE(readBytes(target), fixture("nine-lines.dat"));
    QCOMPARE(readBytes(programFile()), fixture("default.dat"));
}

void HighScoreFaultsTest::diskFullDuringASaveKeepsTheOldFile_data() {
    QTest::addColumn<int>("bytesBeforeFull");
    QTest::newRow("nothing fits") << 0;
    QTest::newRow("half the file fits") << 100;
}

void HighScoreFaultsTest::diskFullDuringASaveKeepsTheOldFile() {
    QFETCH(int, bytesBeforeFull);
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    auto room = std::make_shared<long>(bytesBeforeFull);
    file.setSaveHooks({.write = [room](int fd, const void* data, std::size_t size) -> long {
                           if (*room == 0) {
                               errno = ENOSPC;
                               return -1;
                           }
                           const long n = ::write(fd, data, std::min<long>(*room, size));
                           *room -= n;
                           return n;
                       },
                       .beforeRename = {}});
    HighScoreTable table;
    QVERIFY(!file.LoadHighScores(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
    table.InsertHighScore(1, "Nova", 10000, 5);
    QVERIFY(!file.SaveHighScores(table));
    QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
    QCOMPARE(hiddenEntries(m_program), QStringList());
}

void HighScoreFaultsTest::diskFullOnARealFileSystem() {
    REQUIRE_MOUNTS();
    const QByteArray folder = local(m_program);
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k,mode=0755") != 0) {
        QSKIP(qPrintable(QString("cannot mount a small tmpfs: %1").arg(strerror(errno))));
    }
    m_mounts << m_program;
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    {
        // Fill every remaining byte.
        QFile filler(m_program + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QCOMPARE(file.place(), HighScoreFile::Place::ProgramFolder);
    HighScoreTable table;
    QVERIFY(!file.LoadHighScores(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
    QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
    QCOMPARE(hiddenEntries(m_program), QStringList());

    // With room again the same save goes through.
    QVERIFY(QFile::remove(m_program + "/filler"));
    table.InsertHighScore(1, "Nova", 10000, 5);
    QVERIFY(file.SaveHighScores(table));
    QVERIFY(readBytes(programFile()).startsWith("\" 10000\",\"Nova\""));
}

void HighScoreFaultsTest::killedBeforeTheRenameKeepsTheOldFile() {
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

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
    QCOMPARE(hiddenEntries(m_program), QStringList());
}

void HighScoreFaultsTest::onlyAbandonedTemporaryFilesAreRemoved() {
    const QStringList abandoned{".hiscore.dat.Ab12Cd", ".hiscore.dat.zzzzzz"};
    const QStringList notOurs{".hiscore.dat.bak", ".hiscore.dat.1234567", ".hiscore.datXabcdef"};
    const QString busy = ".hiscore.dat.BUSY00";
    for (const QString& name : abandoned + notOurs + QStringList{busy}) {
        QVERIFY(writeBytes(m_program + "/" + name, "leftover"));
    }
    QVERIFY(QDir().mkpath(m_program + "/.hiscore.dat.folder"));

    // Another program is still writing this one: it holds the lock.
    const int held = ::open(local(m_program + "/" + busy).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX), 0);

    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    QVERIFY(file.SaveHighScores(HighScoreTable::DefaultHighScores()));
    QStringList expected = notOurs + QStringList{busy, ".hiscore.dat.folder"};
    expected.sort();
    QStringList left = hiddenEntries(m_program);
    left.sort();
    QCOMPARE(left, expected);

    ::close(held);  // its writer is gone: the next save clears it
    QVERIFY(file.SaveHighScores(HighScoreTable::DefaultHighScores()));
    QVERIFY(!hiddenEntries(m_program).contains(busy));
}

QTEST_GUILESS_MAIN(HighScoreFaultsTest)
#include "HighScoreFaultsTest.moc"
