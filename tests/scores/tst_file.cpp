// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

quint64 inodeOf(const QString& path) {
    return fileIdOf(path);
}

}  // namespace

class HighScoreFileTest : public QObject, private Folders {
    Q_OBJECT

private slots:
    void init() { QVERIFY(makeFolders()); }
    void cleanup() {
        // Nothing a save leaves behind: no temporary file in either folder.
        QCOMPARE(hiddenEntries(m_program), QStringList());
        QCOMPARE(hiddenEntries(m_data), QStringList());
        m_dir.reset();
    }

    void missingFileBecomesTheDefaultFile() {
        const HighScoreFile file = scoreFile();
        QCOMPARE(file.place(), HighScoreFile::Place::ProgramFolder);
        HighScoreTable table;
        table.HighNames[0] = "left over";
        QVERIFY(file.LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        QVERIFY(!QFile::exists(m_program + "/hiscore.bad"));
        QVERIFY(!QFileInfo::exists(m_data));  // the data folder is not even created
    }

    // The folder's name is only ever a path: the file lands inside it and nothing in the
    // name is run or split.
    void folderWithAHostileNameHoldsTheFile() {
#ifdef _WIN32
        // Windows allows no '"' in a name.
        m_program = m_dir->filePath(QStringLiteral("a b'c%d;e $(touch X) `touch X` & \u00fc"));
#else
        m_program = m_dir->filePath(QStringLiteral("a b'c\"d;e $(touch X) `touch X` \u00fc"));
#endif
        QVERIFY(QDir().mkpath(m_program));
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        table.InsertHighScore(1, "Zo\u00eb", 1050, 3);
        QVERIFY(scoreFile().SaveHighScores(table));

        HighScoreTable reread;
        QVERIFY(scoreFile().ReadHighScoreFile(reread));
        QCOMPARE(reread.HighNames[0], std::string("Zo\u00eb"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 2);  // "program" and the hostile folder: nothing else appeared
        QVERIFY(!QFile::exists(QDir::current().filePath("X")));
    }

    // Folder names outside ASCII, as a user's name or a school's folder gives them: a path
    // that went through a narrow string on Windows would name another folder, or none. The
    // file lands in the program folder, or in the data folder when "hiscore.dat" in the
    // program folder is a folder.
    void folderWithAnyNameHoldsTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("toData");
        QTest::newRow("a user called Zo\u00eb") << QStringLiteral("Zo\u00eb") << false;
        QTest::newRow("a school's folder") << QStringLiteral("\u5b66\u6821") << false;
        QTest::newRow("data folder, Greek")
            << QStringLiteral("\u03a3\u03c7\u03bf\u03bb\u03b5\u03af\u03bf") << true;
    }

    void folderWithAnyNameHoldsTheFile() {
        QFETCH(QString, name);
        QFETCH(bool, toData);
        if (toData) {
            m_data = m_dir->filePath(name + "/data");
            QVERIFY(QDir().mkpath(programFile() + "/keep"));
        } else {
            m_program = m_dir->filePath(name);
            QVERIFY(QDir().mkpath(m_program));
        }
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        table.InsertHighScore(1, "Zo\u00eb", 1050, 3);
        QVERIFY(scoreFile().SaveHighScores(table));

        const QString saved = toData ? dataFile() : programFile();
        QCOMPARE(readBytes(saved), serialised(table));
        HighScoreTable reread;
        QVERIFY(scoreFile().ReadHighScoreFile(reread));
        QCOMPARE(reread.HighNames[0], std::string("Zo\u00eb"));
        QVERIFY(QFileInfo(m_program + "/hiscore.lock").isFile() || toData);
        QCOMPARE(QFileInfo::exists(m_data), toData);
    }

    void loadRewritesTheFileAndKeepsItsTexts() {
        QVERIFY(writeBytes(programFile(), fixture("twelve-lines.dat")));
        const HighScoreFile file = scoreFile();
        for (const char* before : {"twelve-lines.dat", "ten.dat"}) {
            // Loading again reads what was written: same texts, same bytes.
            HighScoreTable table;
            QVERIFY(file.LoadHighScores(table));
            QCOMPARE(rowsOf(table), fixtureRows(before));
            QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
        }
        QVERIFY(!QFile::exists(m_program + "/hiscore.bad"));
    }

    // A start-up that finds the file exactly as it would write it leaves the file alone: no
    // temporary file, no flush. Every other rewrite still replaces it, with its two flushes.
    void unchangedFileIsLeftAloneAtStartUp() {
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        HighScoreFile file = scoreFile();
        auto writes = std::make_shared<int>(0);
        auto flushes = std::make_shared<int>(0);
        file.setSaveHooks({.write =
                               [writes](std::size_t size) {
                                   ++*writes;
                                   return long(size);
                               },
                           .beforeRename = {},
                           .flush =
                               [flushes](AtomicFileWriter::Flush) {
                                   ++*flushes;
                                   return true;
                               }});
        const quint64 unchanged = inodeOf(programFile());
        HighScoreTable table;
        for (int start = 0; start < 2; ++start) {
            QVERIFY(file.LoadHighScores(table));
            QCOMPARE(rowsOf(table), fixtureRows("ten.dat"));
            QCOMPARE(*writes, 0);
            QCOMPARE(*flushes, 0);
            QCOMPARE(inodeOf(programFile()), unchanged);
        }

        // The same table in another layout is rewritten: the new file, then its folder.
        QVERIFY(writeBytes(programFile(), fixture("twelve-lines.dat")));
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
        QCOMPARE(*flushes, 2);
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(*flushes, 2);

        // A missing file is written with the default table, as before.
        QVERIFY(QFile::remove(programFile()));
        QVERIFY(file.LoadHighScores(table));
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        QCOMPARE(*flushes, 4);
    }

    void unreadableFileIsKeptAsBadAndReplaced_data() {
        QTest::addColumn<QByteArray>("damaged");
        QTest::newRow("nine lines") << fixture("nine-lines.dat");
        QTest::newRow("score abc") << fixture("abc-score.dat");
        QTest::newRow("empty file") << QByteArray();
    }

    void unreadableFileIsKeptAsBadAndReplaced() {
        QFETCH(QByteArray, damaged);
        QVERIFY(writeBytes(programFile(), damaged));
        QVERIFY(writeBytes(m_program + "/hiscore.bad", "an older damaged table"));
        HighScoreTable table;
        QVERIFY(scoreFile().LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
        QCOMPARE(readBytes(m_program + "/hiscore.bad"), damaged);
    }

    void damagedFileStaysWhenItCannotBeKept() {
        // "hiscore.bad" is taken by a folder: the damaged bytes have nowhere to go, so the file
        // keeps them and the load reports that nothing was written.
        QVERIFY(writeBytes(programFile(), fixture("nine-lines.dat")));
        QVERIFY(QDir().mkpath(m_program + "/hiscore.bad/inside"));
        HighScoreTable table;
        QVERIFY(!scoreFile().LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        QCOMPARE(readBytes(programFile()), fixture("nine-lines.dat"));
        QVERIFY(QFileInfo(m_program + "/hiscore.bad/inside").isDir());
    }

    void failedReadLeavesTheTableAsItStood() {
        const HighScoreFile file = scoreFile();
        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(2, "Nova", 950, 4);
        const HighScoreTable before = table;

        QVERIFY(!file.ReadHighScoreFile(table));  // missing
        QVERIFY(table == before);
        QVERIFY(writeBytes(programFile(), fixture("nine-lines.dat")));
        QVERIFY(!file.ReadHighScoreFile(table));  // 27 fields: none of them may be taken
        QVERIFY(table == before);
        QCOMPARE(readBytes(programFile()), fixture("nine-lines.dat"));  // reading writes nothing
    }

    void saveWithABadNumberLeavesTheOldFileWhole() {
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.HighLevels[9] = "abc";  // the last line is the one that fails
        QVERIFY(!scoreFile().SaveHighScores(table));
        QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
    }

    void hugeFileIsReadOnlyInPart() {
        constexpr off_t kHuge = off_t(1) << 30;  // sparse: takes no disk space
        const QByteArray path = programFile().toLocal8Bit();
        const qint64 before = bytesReadSoFar();
        if (before < 0) {
            QSKIP("/proc/self/io is not available to count the bytes read");
        }

        // A good table followed by a gigabyte of zeros reads, without reading the zeros.
        QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        QCOMPARE(::truncate(path.constData(), kHuge), 0);
        const HighScoreFile file = scoreFile();
        HighScoreTable table;
        QVERIFY(file.ReadHighScoreFile(table));
        QCOMPARE(rowsOf(table), fixtureRows("ten.dat"));
        const qint64 afterGood = bytesReadSoFar();
        QVERIFY2(afterGood - before < 1 << 20, qPrintable(QString::number(afterGood - before)));

        // A gigabyte with no separator at all is unreadable; it is kept as "hiscore.bad" under a
        // second name, not copied.
        QCOMPARE(::truncate(path.constData(), 0), 0);
        QCOMPARE(::truncate(path.constData(), kHuge), 0);
        const quint64 huge = inodeOf(programFile());
        QVERIFY(file.LoadHighScores(table));
        QVERIFY(table == HighScoreTable::DefaultHighScores());
        const qint64 afterBad = bytesReadSoFar();
        QVERIFY2(afterBad - afterGood < 1 << 20, qPrintable(QString::number(afterBad - afterGood)));
        QCOMPARE(inodeOf(m_program + "/hiscore.bad"), huge);
        QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    }
};

QTEST_GUILESS_MAIN(HighScoreFileTest)
#include "tst_file.moc"
