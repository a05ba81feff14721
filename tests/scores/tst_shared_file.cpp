// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileLock.h"
#include "HighScoreFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTest>

#ifndef _WIN32
#include <time.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

using namespace std::chrono_literals;

// Game over as the engine runs it: sort, find the slot, place the entry in the table in
// memory, save it through the file's table as it stands now.
bool placeAndSave(const HighScoreFile& file, HighScoreTable& table, const std::string& name,
                  double points, double level) {
    table.SortHighScores();
    const std::optional<int> slot = table.FindHighScoreSlot(points);
    if (!slot) {
        return false;
    }
    table.InsertHighScore(*slot, name, points, level);
    const NewHighScore entry{name, points, level};
    return file.SaveNewHighScores(table, {&entry, 1});
}

#ifndef _WIN32
double threadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// How many descriptors of this process have the file open.
int descriptorsOf(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    for (const QFileInfo& fd :
         QDir("/proc/self/fd").entryInfoList(QDir::AllEntries | QDir::System)) {
        count += fd.symLinkTarget() == target ? 1 : 0;
    }
    return count;
}
#endif

QStringList fileRows(const QString& path) {
    return rowsOf(parseBytes(readBytes(path)).value_or(HighScoreTable()));
}

// The probe's names of its own entries with their scores: name<i> scores first + 2 i.
QStringList topEntries(const QString& name, int first, int count, int top) {
    QStringList rows;
    for (int i = count - top; i < count; ++i) {
        rows << QString(" %1|%2%3| 1").arg(first + 2 * i).arg(name).arg(i);
    }
    return rows;
}

}  // namespace

// Several copies of the game on one "hiscore.dat", started from one program folder: each
// read-modify-write of the file holds the lock on "hiscore.lock", and a new high score goes
// into the table as the file holds it at that moment, so no copy undoes another's entries.
class SharedFileTest : public QObject, private Folders {
    Q_OBJECT

private slots:
    void init() { QVERIFY(makeFolders()); }
    void cleanup() {
        QCOMPARE(hiddenEntries(m_program), QStringList());
        m_dir.reset();
    }

    void twoCopiesKeepBothNewHighScores() {
        // Both copies start on the default table.
        const HighScoreFile alpha = scoreFile();
        const HighScoreFile bravo = scoreFile();
        HighScoreTable alphaTable;
        HighScoreTable bravoTable;
        QVERIFY(alpha.LoadHighScores(alphaTable));
        QVERIFY(bravo.LoadHighScores(bravoTable));

        QVERIFY(placeAndSave(alpha, alphaTable, "ALPHA", 10000, 5));
        QVERIFY(placeAndSave(bravo, bravoTable, "BRAVO", 5000, 4));

        // The file holds both, and the copy that saved last holds what it saved: the
        // high-score window it shows next has both entries.
        const QStringList saved = fileRows(programFile());
        QCOMPARE(saved.mid(0, 3),
                 (QStringList{" 10000|ALPHA| 5", " 5000|BRAVO| 4", " 1000|Quill| 1"}));
        QCOMPARE(saved.size(), 10);
        QCOMPARE(serialised(bravoTable), readBytes(programFile()));
        QCOMPARE(rowsOf(bravoTable).mid(0, 2), (QStringList{" 10000|ALPHA| 5", "5000|BRAVO|4"}));

        // The lock file stays beside the table, out of the way of the temporary-file clean-up.
        QVERIFY(QFileInfo(m_program + "/" + HighScoreFile::kLockFileName).isFile());
        QVERIFY(placeAndSave(alpha, alphaTable, "ALPHA again", 7000, 5));
        QVERIFY(QFileInfo(m_program + "/" + HighScoreFile::kLockFileName).isFile());
        QCOMPARE(fileRows(programFile()).mid(0, 3),
                 (QStringList{" 10000|ALPHA| 5", " 7000|ALPHA again| 5", " 5000|BRAVO| 4"}));
    }

    // A single copy sees no difference: the table in memory is the table saved, with its own
    // texts ("1000" from the default table, where the file says " 1000").
    void aSingleCopyKeepsItsTableAsPlaced() {
        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(file.LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());

        HighScoreTable expected = table;
        expected.InsertHighScore(3, "Nova", 800, 2);
        QVERIFY(placeAndSave(file, table, "Nova", 800, 2));
        QVERIFY(table == expected);
        QCOMPARE(serialised(expected), readBytes(programFile()));
    }

    // The table the save re-reads is sorted before the new entry is placed in it: a file in
    // another order (edited by hand) loses its lowest entry, never its best.
    void newEntryIsPlacedIntoTheFilesTableSorted() {
        const QByteArray ten = fixture("ten.dat");
        const qsizetype secondLine = ten.indexOf('\n') + 1;
        QVERIFY(writeBytes(programFile(), ten.mid(secondLine) + ten.left(secondLine)));
        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(file.LoadHighScores(table));
        QVERIFY(placeAndSave(file, table, "Nova", 60, 1));
        const QStringList rows = fileRows(programFile());
        QCOMPARE(rows.first(), " 9500|Mira| 5");
        QCOMPARE(rows.last(), " 60|Nova| 1");
    }

    // When the file cannot be read at the save (damaged or removed while the player typed a
    // name), the table in memory is saved as it is, and a damaged file is kept as
    // "hiscore.bad", as at start-up.
    void unreadableFileAtTheSaveTakesTheTableInMemory_data() {
        QTest::addColumn<QByteArray>("damaged");
        QTest::addColumn<bool>("removed");
        QTest::newRow("cut in half") << fixture("ten.dat").left(180) << false;
        QTest::newRow("random bytes") << QByteArray("\x8f\0\xff\x13\"x", 6) << false;
        QTest::newRow("emptied") << QByteArray("") << false;
        QTest::newRow("removed") << QByteArray() << true;
    }

    void unreadableFileAtTheSaveTakesTheTableInMemory() {
        QFETCH(QByteArray, damaged);
        QFETCH(bool, removed);
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(file.LoadHighScores(table));
        QVERIFY(removed ? QFile::remove(programFile()) : writeBytes(programFile(), damaged));

        HighScoreTable expected = table;
        expected.SortHighScores();
        expected.InsertHighScore(*expected.FindHighScoreSlot(99999), "Nova", 99999, 2);
        QVERIFY(placeAndSave(file, table, "Nova", 99999, 2));
        QVERIFY(table == expected);
        QCOMPARE(readBytes(programFile()), serialised(expected));
        QCOMPARE(QFileInfo::exists(m_program + "/hiscore.bad"), !removed);
        QCOMPARE(readBytes(m_program + "/hiscore.bad"), damaged);
    }

    // Another copy keeps the lock: every operation that writes gives up after the timeout and
    // writes nothing, as when the file cannot be written; the table in memory is kept.
    void saveFailsCleanlyWhileAnotherCopyHoldsTheLock() {
        QVERIFY(writeBytes(programFile(), fixture("twelve-lines.dat")));
        QProcess holder;
        holder.start(BRIGHTSUM_PROBE, {"hold-lock", m_program, m_data});
        QVERIFY(holder.waitForReadyRead(60000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

        HighScoreFile file = scoreFile();
        constexpr auto kTimeout = 200ms;
        file.setLockTimeout(kTimeout);
        QElapsedTimer waited;

        // Start-up: the table is read, the file is not rewritten.
        HighScoreTable table;
        waited.start();
        QVERIFY(!file.LoadHighScores(table));
        QVERIFY(waited.elapsed() >= kTimeout.count());
        QCOMPARE(rowsOf(table), fixtureRows("twelve-lines.dat"));
        QCOMPARE(readBytes(programFile()), fixture("twelve-lines.dat"));

        // Game over: the entry stays in the table in memory only.
        table.SortHighScores();
        HighScoreTable placed = table;
        placed.InsertHighScore(1, "Nova", 99999, 5);
        table = placed;
        const NewHighScore entry{"Nova", 99999, 5};
        waited.start();
        QVERIFY(!file.SaveNewHighScores(table, {&entry, 1}));
        QVERIFY(waited.elapsed() >= kTimeout.count());
        QVERIFY(table == placed);
        QVERIFY(!file.SaveHighScores(table));
        QCOMPARE(readBytes(programFile()), fixture("twelve-lines.dat"));

        // A damaged file is neither set aside nor replaced meanwhile.
        QVERIFY(writeBytes(programFile(), fixture("nine-lines.dat")));
        QVERIFY(!file.LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("nine-lines.dat"));
        QVERIFY(!QFileInfo::exists(m_program + "/hiscore.bad"));

        // Once the other copy lets go, the kept entry is saved.
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(60000));
        QCOMPARE(holder.exitCode(), 0);
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        table = placed;
        QVERIFY(file.SaveNewHighScores(table, {&entry, 1}));
        QCOMPARE(rowsOf(table)[0], "99999|Nova|5");
        QCOMPARE(fileRows(programFile())[0], " 99999|Nova| 5");
    }

    // A link planted in the lock file's place is neither followed nor written through, and
    // with no lock to be had nothing is saved (the faults test tries more such things). On
    // Windows, where making a link takes a privilege, a folder stands in the lock file's place.
    void somethingInTheLockFilesPlaceIsLeftAlone() {
        const QString outside = m_dir->filePath("outside");
        const QString lockFile = m_program + "/" + HighScoreFile::kLockFileName;
#ifdef _WIN32
        QVERIFY(QDir().mkpath(lockFile + "/keep"));
#else
        QVERIFY(QFile::link(outside, lockFile));
#endif
        const HighScoreFile file = scoreFile();
        QVERIFY(!file.SaveHighScores(HighScoreTable::DefaultHighScores()));
        QVERIFY(!QFileInfo::exists(programFile()));
        QVERIFY(!QFileInfo::exists(outside));
#ifdef _WIN32
        QVERIFY(QFileInfo(lockFile + "/keep").isDir());
#else
        QVERIFY(QFileInfo(lockFile).isSymLink());
#endif
    }

#ifndef _WIN32
    // A copy that waits while the lock file is replaced must not take the old file for the
    // lock once it is free, while another copy holds the new one; and it waits asleep. (Linux
    // only: the test must know when the waiter has the old file open, which it learns from
    // /proc; Windows cannot list a process's open files.)
    void waitingThroughAReplacedLockFileGivesOneHolderAndSleeps() {
        const QString lockPath = m_program + "/" + HighScoreFile::kLockFileName;
        auto first = std::make_unique<FileLock>(pathOf(lockPath), 0ms);
        QCOMPARE(first->state(), FileLock::State::Held);
        std::atomic<FileLock::State> waited{FileLock::State::Held};
        std::atomic<double> cpuSeconds{0};
        std::jthread waiter([&] {
            const double start = threadCpuSeconds();
            const FileLock lock(pathOf(lockPath), 1500ms);
            cpuSeconds = threadCpuSeconds() - start;
            waited = lock.state();
        });

        // Once the waiter has the old file open, a new one takes its name and is locked.
        QTRY_COMPARE(descriptorsOf(lockPath), 2);
        QVERIFY(QFile::rename(lockPath, lockPath + ".old"));
        const FileLock second(pathOf(lockPath), 0ms);
        QCOMPARE(second.state(), FileLock::State::Held);
        first.reset();
        waiter.join();
        QCOMPARE(waited.load(), FileLock::State::Busy);
        QVERIFY2(cpuSeconds < 0.3, qPrintable(QString("%1 s of CPU").arg(cpuSeconds)));
    }
#endif

    // Copies of the game started with a program folder whose name is outside ASCII (a user
    // called Zoë, a school's folder) take the same lock and write the same file: a folder name
    // that reached a copy through the ANSI code page would be another folder, or none.
    void copiesInAFolderWithAnyNameShareTheFile() {
        m_program = m_dir->filePath(QStringLiteral("Zo\u00eb \u5b66\u6821"));
        QVERIFY(QDir().mkpath(m_program));
        QProcess holder;
        holder.start(BRIGHTSUM_PROBE, {"hold-lock", m_program, m_data});
        QVERIFY(holder.waitForReadyRead(60000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        HighScoreFile file = scoreFile();
        file.setLockTimeout(0ms);
        QVERIFY(!file.SaveHighScores(HighScoreTable::DefaultHighScores()));
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(60000));
        QCOMPARE(holder.exitCode(), 0);

        twoCopiesPlay(20);
        if (!QTest::currentTestFailed()) {
            QVERIFY(!QFileInfo::exists(m_data));
        }
    }

    // Two copies playing and restarting as fast as they can, each checking after every step
    // that none of its entries has gone while it still belonged in the table.
    void twoCopiesPlayingAtOnceLoseNothing() {
        twoCopiesPlay(300);
    }

    // One copy saving high score after high score while another starts over and over: the
    // start-ups never write back a table read before a save.
    void startUpsWhileAnotherCopySavesLoseNothing() {
        constexpr int kGames = 300;
        constexpr int kStartUps = 2000;
        QProcess player;
        QProcess starter;
        player.start(BRIGHTSUM_PROBE,
                     {"play", m_program, m_data, "A", "2000", QString::number(kGames)});
        starter.start(BRIGHTSUM_PROBE,
                      {"load-loop", m_program, m_data, QString::number(kStartUps)});
        QVERIFY(player.waitForFinished(120000) && starter.waitForFinished(120000));
        QCOMPARE(player.readAllStandardOutput().trimmed(), "played " + QByteArray::number(kGames));
        QCOMPARE(starter.readAllStandardOutput().trimmed(),
                 "loaded " + QByteArray::number(kStartUps));

        QStringList expected = topEntries("A", 2000, kGames, 10);
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(fileRows(programFile()), expected);
    }

private:
    // Two copies each play `games` games at once, saving a high score after every game: the
    // file then holds the ten best of both, the last five games of each.
    void twoCopiesPlay(int games) {
        QProcess alpha;
        QProcess bravo;
        alpha.start(BRIGHTSUM_PROBE,
                    {"play", m_program, m_data, "A", "2000", QString::number(games)});
        bravo.start(BRIGHTSUM_PROBE,
                    {"play", m_program, m_data, "B", "2001", QString::number(games)});
        QVERIFY(alpha.waitForFinished(120000) && bravo.waitForFinished(120000));
        QCOMPARE(alpha.readAllStandardOutput().trimmed(), "played " + QByteArray::number(games));
        QCOMPARE(bravo.readAllStandardOutput().trimmed(), "played " + QByteArray::number(games));
        QStringList expected = topEntries("A", 2000, games, 5) + topEntries("B", 2001, games, 5);
        std::sort(expected.begin(), expected.end(), std::greater<>());
        QCOMPARE(fileRows(programFile()), expected);
    }
};

QTEST_GUILESS_MAIN(SharedFileTest)
#include "tst_shared_file.moc"
