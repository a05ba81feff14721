// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreTable.h"
#include "TestFiles.h"

#include <QStringList>
#include <QTest>

#include <string>

using namespace brightsum;
using testfiles::rowsOf;

namespace {

// Builds a table from "score|name|level" rows.
HighScoreTable tableOf(const QStringList& rows) {
    HighScoreTable table;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList fields = rows[i].split('|');
        table.HighScores[i] = fields[0].toStdString();
        table.HighNames[i] = fields[1].toStdString();
        table.HighLevels[i] = fields[2].toStdString();
    }
    return table;
}

// A table as the file holds it: every number with its leading blank; a tie at the end.
const QStringList kRead = {
    " 1000|Quill| 1", " 900|Brindle| 2", " 700|Sorrel| 1", " 600|Juniper| 3", " 500|Fennel| 1",
    " 400|Clover| 1", " 300|Bramble| 1", " 200|Tansy| 1",  " 100|Yarrow| 1",  " 100|Rowan| 1"};

}  // namespace

class HighScoreTableTest : public QObject {
    Q_OBJECT

private slots:
    void findSlotOnTheDefaultTable_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("slot");  // 0: none
        QTest::newRow("beats the top") << 1001.0 << 1;
        QTest::newRow("ties the top goes below it") << 1000.0 << 2;
        QTest::newRow("between 900 and 700") << 800.0 << 3;
        QTest::newRow("just above entry 10") << 101.0 << 9;
        QTest::newRow("ties entry 10") << 100.0 << 0;
        QTest::newRow("negative") << -50.0 << 0;
    }

    void findSlotOnTheDefaultTable() {
        QFETCH(double, points);
        QFETCH(int, slot);
        const HighScoreTable table = HighScoreTable::DefaultHighScores();
        QCOMPARE(rowsOf(table)[0], QString("1000|Quill|1"));  // plain texts, not the file's
        QCOMPARE(table.FindHighScoreSlot(points).value_or(0), slot);
    }

    void findSlotComparesNumbersNotTexts() {
        // As texts " 950" < "1000" < "950"; as numbers the order is 1000 > 950.
        HighScoreTable table = tableOf({" 1000|A| 1", "950|B|1", " 950|C| 1", "abc|D|1", "|E|1",
                                        "-5|F|1", "-5|G|1", "-5|H|1", "-5|I|1", "-10|J|1"});
        QCOMPARE(table.FindHighScoreSlot(975).value_or(0), 2);
        QCOMPARE(table.FindHighScoreSlot(950).value_or(0), 4);  // "abc" reads as 0
        QCOMPARE(table.FindHighScoreSlot(-7).value_or(0), 10);
        QCOMPARE(table.FindHighScoreSlot(-10).value_or(0), 0);
    }

    void insertWritesPlainTextsOnlyWhereItMoves() {
        HighScoreTable table = tableOf(kRead);
        table.InsertHighScore(3, "Nova", 750, 3);
        QCOMPARE(rowsOf(table),
                 QStringList({" 1000|Quill| 1", " 900|Brindle| 2", "750|Nova|3", "700|Sorrel|1",
                              "600|Juniper|3", "500|Fennel|1", "400|Clover|1", "300|Bramble|1",
                              "200|Tansy|1", "100|Yarrow|1"}));
        table = tableOf(kRead);
        table.InsertHighScore(10, "", 150, 5);
        QCOMPARE(rowsOf(table), kRead.mid(0, 9) + QStringList{"150||5"});
        for (int slot : {0, 11, -1}) {
            table = tableOf(kRead);
            table.InsertHighScore(slot, "Nova", 5000, 1);
            QCOMPARE(rowsOf(table), kRead);
        }
    }

    void insertMakesTheNameSafeForTheFile_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("blanks and comma kept")
            << QByteArray(" Nova, Jr. ") << QByteArray(" Nova, Jr. ");
        QTest::newRow("double quotes") << QByteArray("\"Ace\" Nova") << QByteArray("'Ace' Nova");
        QTest::newRow("control characters")
            << QByteArray("a\tb\r\nc\x01", 7) << QByteArray("a b  c ");
        QTest::newRow("nul byte") << QByteArray("a\0b", 3) << QByteArray("a b");
        QTest::newRow("scripts and combining marks kept")
            << QByteArray("Zoë 李雷 שלום e\xCC\x81") << QByteArray("Zoë 李雷 שלום e\xCC\x81");
        QTest::newRow("invalid UTF-8") << QByteArray(
                                              "a\xFF"
                                              "b\xC3")
                                       << QByteArray(
                                              "a\xEF\xBF\xBD"
                                              "b\xEF\xBF\xBD");
    }

    void insertMakesTheNameSafeForTheFile() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, stored);
        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(3, name.toStdString(), 750, 2);
        QCOMPARE(QByteArray::fromStdString(table.HighNames[2]), stored);
        QCOMPARE(QByteArray::fromStdString(table.HighNames[3]), QByteArray("Sorrel"));
    }

    // A name longer than the file can hold is cut when placed: at a character boundary, no
    // shorter than it must be, and so that the file holds it and reads it back unchanged.
    void insertCutsAnOverlongNameSoTheFileHoldsIt() {
        for (const std::string lead : {"", "x", "xx"}) {  // every cut within a 3-byte letter
            std::string name = lead;
            while (name.size() < 1 << 16) {
                name += "李";
            }
            HighScoreTable table = HighScoreTable::DefaultHighScores();
            table.InsertHighScore(1, name, 2000, 1);
            const std::string kept = table.HighNames[0];
            QVERIFY(kept.size() < name.size() && name.starts_with(kept));
            QCOMPARE(QString::fromUtf8(kept).toStdString(), kept);  // no half letter
            const std::optional<HighScoreTable> read =
                testfiles::parseBytes(testfiles::serialised(table));
            QVERIFY(read);
            QCOMPARE(read->HighNames[0], kept);
            table.InsertHighScore(1, kept + "李", 2000, 1);
            QCOMPARE(table.HighNames[0], kept);  // not a letter more fits
        }
    }

    void sort_data() {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("sorted, with a tie: untouched") << kRead << kRead;
        // Exchanged entries carry plain digits of their values; the names travel unchanged.
        QTest::newRow("unstable exchange sort")
            << QStringList{" 200|A| 1", " 200|B| 2", " 300|C| 3", " 10|D| 1", " 9|E| 1",
                           " 8|F| 1",   " 7|G| 1",   " 6|H| 1",   " 5|I| 1",  " 4|J| 1"}
            << QStringList{"300|C|3", " 200|B| 2", "200|A|1", " 10|D| 1", " 9|E| 1",
                           " 8|F| 1", " 7|G| 1",   " 6|H| 1", " 5|I| 1",  " 4|J| 1"};
        QTest::newRow("texts that are no numbers become 0")
            << QStringList{" 5|low| 2", " 1000|top| 1", "abc|text|x", " 900|next| 3", " 800|a| 1",
                           " 700|b| 1", " 600|c| 1",    " 500|d| 1",  " 400|e| 1",    " 300|f| 1"}
            << QStringList{"1000|top|1", "900|next|3", "800|a|1", "700|b|1", "600|c|1",
                           "500|d|1",    "400|e|1",    "300|f|1", "5|low|2", "0|text|0"};
    }

    void sort() {
        QFETCH(QStringList, given);
        QFETCH(QStringList, sorted);
        HighScoreTable table = tableOf(given);
        table.SortHighScores();
        QCOMPARE(rowsOf(table), sorted);
    }
};

QTEST_GUILESS_MAIN(HighScoreTableTest)
#include "tst_table.moc"
