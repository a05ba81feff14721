#include "HighScoreFile.h"

#include "TestFiles.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

std::optional<HighScoreTable> parseBytes(const QByteArray& bytes) {
    return HighScoreFile::parse(std::string_view(bytes.constData(), bytes.size()));
}

// Bytes this process has read through read() and its kind so far.
qint64 bytesReadSoFar() {
    QFile io("/proc/self/io");
    if (!io.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:")) {
            return line.mid(6).trimmed().toLongLong();
        }
    }
    return -1;
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

class HighScoreFileTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileBecomesTheDefaultFile();
    void loadKeepsTheTextsAndRewritesTheFile_data();
    void loadKeepsTheTextsAndRewritesTheFile();
    void unreadableFileIsKeptAsBadAndReplaced_data();
    void unreadableFileIsKeptAsBadAndReplaced();
    void damagedFileStaysWhenItCannotBeKept();
    void failedReadLeavesTheTableAsItStood();
    void saveWithABadNumberLeavesTheOldFileWhole();
    void gameOverSaveWritesTheNewEntry();
    void hugeFileIsReadOnlyInPart();
    void writableProgramFolderHoldsTheFile();
    void withoutADataFolderNothingLandsInTheWorkingFolder();

private:
    QString programFile() const { return m_program + "/hiscore.dat"; }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_data;
};

void HighScoreFileTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_program = m_dir->filePath("program");
    m_data = m_dir->filePath("data");
    QVERIFY(QDir().mkpath(m_program));
}

void HighScoreFileTest::cleanup() {
    // Nothing a save leaves behind: no temporary file in either folder.
    QCOMPARE(hiddenEntries(m_program), QStringList());
    QCOMPARE(hiddenEntries(m_data), QStringList());
    m_dir.reset();
}

void HighScoreFileTest::missingFileBecomesTheDefaultFile() {
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    table.HighNames[0] = "left over";
    QVERIFY(file.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());  // plain texts in memory
    QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    QVERIFY(!QFile::exists(m_program + "/hiscore.bad"));
}

void HighScoreFileTest::loadKeepsTheTextsAndRewritesTheFile_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("rewritten");
    QTest::newRow("as written") << "ten.dat"
                                << "ten.dat";
    QTest::newRow("twelve lines") << "twelve-lines.dat"
                                  << "ten.dat";
    QTest::newRow("two entries a line") << "two-per-line.dat"
                                        << "ten.dat";
    QTest::newRow("unquoted fields") << "unquoted.dat"
                                     << "ten.dat";
    QTest::newRow("line feeds only") << "lf-only.dat"
                                     << "ten.dat";
    QTest::newRow("Windows-1252") << "cp1252.dat"
                                  << "cp1252.dat";
    QTest::newRow("UTF-8 that fits Windows-1252") << "utf8-narrow.dat"
                                                  << "cp1252.dat";
    QTest::newRow("UTF-8 beyond Windows-1252") << "utf8-wide.dat"
                                               << "utf8-wide.dat";
}

void HighScoreFileTest::loadKeepsTheTextsAndRewritesTheFile() {
    QFETCH(QString, given);
    QFETCH(QString, rewritten);
    QVERIFY(writeBytes(programFile(), fixture(given)));
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture(given))));
    QCOMPARE(readBytes(programFile()), fixture(rewritten));
    QVERIFY(!QFile::exists(m_program + "/hiscore.bad"));

    // Loading again reads what was written: same texts, same bytes.
    HighScoreTable again;
    QVERIFY(file.LoadHighScores(again));
    QCOMPARE(rowsOf(again), rowsOf(*parseBytes(fixture(rewritten))));
    QCOMPARE(readBytes(programFile()), fixture(rewritten));
}

void HighScoreFileTest::unreadableFileIsKeptAsBadAndReplaced_data() {
    QTest::addColumn<QByteArray>("damaged");
    QTest::newRow("nine lines") << fixture("nine-lines.dat");
    QTest::newRow("score abc") << fixture("abc-score.dat");
    QTest::newRow("empty level") << fixture("empty-level.dat");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary junk") << QByteArray("\x00\xff\x01\xfe", 4).repeated(5000);
}

void HighScoreFileTest::unreadableFileIsKeptAsBadAndReplaced() {
    QFETCH(QByteArray, damaged);
    QVERIFY(writeBytes(programFile(), damaged));
    QVERIFY(writeBytes(m_program + "/hiscore.bad", "an older damaged table"));
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    QCOMPARE(readBytes(programFile()), fixture("default.dat"));
    QCOMPARE(readBytes(m_program + "/hiscore.bad"), damaged);
}

void HighScoreFileTest::damagedFileStaysWhenItCannotBeKept() {
    // "hiscore.bad" is taken by a folder: the damaged bytes have nowhere to go, so the file
    // keeps them and the load reports that nothing was written.
    QVERIFY(writeBytes(programFile(), fixture("nine-lines.dat")));
    QVERIFY(QDir().mkpath(m_program + "/hiscore.bad/inside"));
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(!file.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    QCOMPARE(readBytes(programFile()), fixture("nine-lines.dat"));
    QVERIFY(QFileInfo(m_program + "/hiscore.bad/inside").isDir());
}

void HighScoreFileTest::failedReadLeavesTheTableAsItStood() {
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.InsertHighScore(2, "Nova", 950, 4);
    const HighScoreTable before = table;

    QVERIFY(!file.ReadHighScoreFile(table));  // missing
    QVERIFY(table == before);
    QVERIFY(writeBytes(programFile(), fixture("nine-lines.dat")));
    QVERIFY(!file.ReadHighScoreFile(table));  // 27 fields: none of them may be taken
    QVERIFY(table == before);
    QCOMPARE(readBytes(programFile()), fixture("nine-lines.dat"));  // reading writes nothing

    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    QVERIFY(file.ReadHighScoreFile(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
}

void HighScoreFileTest::saveWithABadNumberLeavesTheOldFileWhole() {
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.HighLevels[9] = "abc";  // the last line is the one that fails
    QVERIFY(!file.SaveHighScores(table));
    QCOMPARE(readBytes(programFile()), fixture("ten.dat"));
}

void HighScoreFileTest::gameOverSaveWritesTheNewEntry() {
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(file.LoadHighScores(table));
    table.SortHighScores();
    const std::optional<int> slot = table.FindHighScoreSlot(750);
    QCOMPARE(slot.value_or(0), 3);
    table.InsertHighScore(*slot, "Nova", 750, 3);
    QVERIFY(file.SaveHighScores(table));

    const QList<QByteArray> lines = readBytes(programFile()).split('\n');
    QCOMPARE(lines.size(), 11);  // ten lines, each ended
    QCOMPARE(lines[2], QByteArray("\" 750\",\"Nova\",\" 3\"\r"));
    QCOMPARE(lines[3], QByteArray("\" 700\",\"Sorrel\",\" 1\"\r"));

    // Reloaded after the game, the entry shows the file's texts.
    QVERIFY(file.LoadHighScores(table));
    QCOMPARE(rowsOf(table)[2], QString(" 750|Nova| 3"));
}

void HighScoreFileTest::hugeFileIsReadOnlyInPart() {
    constexpr off_t kHuge = off_t(1) << 30;  // sparse: takes no disk space
    const QByteArray path = programFile().toLocal8Bit();
    const qint64 before = bytesReadSoFar();
    if (before < 0) {
        QSKIP("/proc/self/io is not available to count the bytes read");
    }

    // A good table followed by a gigabyte of zeros reads, without reading the zeros.
    QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
    QCOMPARE(::truncate(path.constData(), kHuge), 0);
    const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
    HighScoreTable table;
    QVERIFY(file.ReadHighScoreFile(table));
    QCOMPARE(rowsOf(table), rowsOf(*parseBytes(fixture("ten.dat"))));
    const qint64 afterGood = bytesReadSoFar();
    QVERIFY2(afterGood - before < 1 << 20, qPrintable(QString::number(afterGood - before)));

    // A gigabyte with no separator at all is unreadable; it is kept as "hiscore.bad" under a
    // second name, not copied.
    QCOMPARE(::truncate(path.constData(), 0), 0);
    QCOMPARE(::truncate(path.constData(), kHuge), 0);
    const ino_t huge = inodeOf(programFile());
    QVERIFY(file.LoadHighScores(table));
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    const qint64 afterBad = bytesReadSoFar();
    QVERIFY2(afterBad - afterGood < 1 << 20, qPrintable(QString::number(afterBad - afterGood)));
    QCOMPARE(inodeOf(m_program + "/hiscore.bad"), huge);
    QCOMPARE(QFileInfo(m_program + "/hiscore.bad").size(), qint64(kHuge));
    QCOMPARE(readBytes(programFile()), fixture("default.dat"));
}

void HighScoreFileTest::writableProgramFolderHoldsTheFile() {
    for (bool present : {false, true}) {
        if (present) {
            QVERIFY(writeBytes(programFile(), fixture("ten.dat")));
        }
        const HighScoreFile file(m_program.toStdString(), m_data.toStdString());
        QCOMPARE(file.place(), HighScoreFile::Place::ProgramFolder);
        QCOMPARE(QString::fromStdString(file.path().string()), programFile());
        QVERIFY(!QFileInfo::exists(m_data));  // the data folder is not even created
    }
}

void HighScoreFileTest::withoutADataFolderNothingLandsInTheWorkingFolder() {
    // The program folder cannot take the file (a folder has its name) and there is no data
    // folder: the table is still set, and nothing is written anywhere else.
    QVERIFY(QDir().mkpath(programFile() + "/keep"));
    const QString working = m_dir->filePath("working");
    QVERIFY(QDir().mkpath(working));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working));
    const HighScoreFile file(m_program.toStdString(), std::filesystem::path());
    HighScoreTable table;
    const bool saved = file.LoadHighScores(table);
    QVERIFY(QDir::setCurrent(previous));
    QVERIFY(!saved);
    QVERIFY(table == HighScoreTable::DefaultHighScores());
    QVERIFY(QDir(working).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(QFileInfo(programFile() + "/keep").isDir());
}

QTEST_GUILESS_MAIN(HighScoreFileTest)
#include "HighScoreFileTest.moc"
