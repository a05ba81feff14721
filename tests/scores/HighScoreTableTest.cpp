#include "HighScoreTable.h"

#include "TestFiles.h"

#include <QtTest>

#include <string>

using namespace brightsum;
using testfiles::rowsOf;

namespace {

// Builds a table from "score|name|level" rows; missing rows stay empty.
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

}  // namespace

class HighScoreTableTest : public QObject {
    Q_OBJECT

private slots:
    void defaultTableHoldsPlainTexts();
    void findSlotOnTheDefaultTable_data();
    void findSlotOnTheDefaultTable();
    void findSlotComparesNumbersNotTexts();
    void insertAtTheTopShiftsAsPlainTexts();
    void insertAtTheBottomMovesNothing();
    void insertOutsideTheTableChangesNothing();
    void insertMakesTheNameSafeForTheFile_data();
    void insertMakesTheNameSafeForTheFile();
    void insertCutsAnOverlongNameAtACharacterBoundary();
    void sortLeavesASortedTableUntouched();
    void sortIsAnUnstableExchangeSort();
    void sortWritesPlainDigitsWhenItExchanges();
};

void HighScoreTableTest::defaultTableHoldsPlainTexts() {
    const QStringList expected = {"1000|Quill|1", "900|Brindle|1", "700|Sorrel|1",  "600|Juniper|1",
                                  "500|Fennel|1", "400|Clover|1",  "300|Bramble|1", "200|Tansy|1",
                                  "100|Yarrow|1", "100|Rowan|1"};
    QCOMPARE(rowsOf(HighScoreTable::DefaultHighScores()), expected);
}

void HighScoreTableTest::findSlotOnTheDefaultTable_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("slot");  // 0: none
    QTest::newRow("beats the top") << 1001.0 << 1;
    QTest::newRow("ties the top goes below it") << 1000.0 << 2;
    QTest::newRow("ties entry 2") << 900.0 << 3;
    QTest::newRow("between 900 and 700") << 800.0 << 3;
    QTest::newRow("above the two hundreds") << 150.0 << 9;
    QTest::newRow("just above entry 10") << 101.0 << 9;
    QTest::newRow("ties entry 10") << 100.0 << 0;
    QTest::newRow("nothing") << 0.0 << 0;
    QTest::newRow("negative") << -50.0 << 0;
}

void HighScoreTableTest::findSlotOnTheDefaultTable() {
    QFETCH(double, points);
    QFETCH(int, slot);
    const std::optional<int> found = HighScoreTable::DefaultHighScores().FindHighScoreSlot(points);
    QCOMPARE(found.value_or(0), slot);
}

void HighScoreTableTest::findSlotComparesNumbersNotTexts() {
    // As texts " 950" < "1000" < "950"; as numbers the order is 1000 > 950.
    HighScoreTable table = tableOf({" 1000|A| 1", "950|B|1", " 950|C| 1", "abc|D|1", "|E|1",
                                    "-5|F|1", "-5|G|1", "-5|H|1", "-5|I|1", "-10|J|1"});
    QCOMPARE(table.FindHighScoreSlot(975).value_or(0), 2);
    QCOMPARE(table.FindHighScoreSlot(950).value_or(0), 4);  // "abc" reads as 0
    QCOMPARE(table.FindHighScoreSlot(-7).value_or(0), 10);
    QCOMPARE(table.FindHighScoreSlot(-10).value_or(0), 0);
}

void HighScoreTableTest::insertAtTheTopShiftsAsPlainTexts() {
    // A table as read from the file: every number with its leading blank.
    HighScoreTable table = tableOf(
        {" 1000|Quill| 1", " 900|Brindle| 2", " 700|Sorrel| 1", " 600|Juniper| 3", " 500|Fennel| 1",
         " 400|Clover| 1", " 300|Bramble| 1", " 200|Tansy| 1", " 100|Yarrow| 1", " 100|Rowan| 1"});
    table.InsertHighScore(1, "Nova", 1050, 3);
    const QStringList expected = {"1050|Nova|3",   "1000|Quill|1", "900|Brindle|2", "700|Sorrel|1",
                                  "600|Juniper|3", "500|Fennel|1", "400|Clover|1",  "300|Bramble|1",
                                  "200|Tansy|1",   "100|Yarrow|1"};
    QCOMPARE(rowsOf(table), expected);
}

void HighScoreTableTest::insertAtTheBottomMovesNothing() {
    HighScoreTable table = tableOf(
        {" 1000|Quill| 1", " 900|Brindle| 1", " 700|Sorrel| 1", " 600|Juniper| 1", " 500|Fennel| 1",
         " 400|Clover| 1", " 300|Bramble| 1", " 200|Tansy| 1", " 100|Yarrow| 1", " 100|Rowan| 1"});
    HighScoreTable expected = table;
    table.InsertHighScore(10, "", 150, 5);
    expected.HighScores[9] = "150";
    expected.HighNames[9] = "";
    expected.HighLevels[9] = "5";
    QCOMPARE(rowsOf(table), rowsOf(expected));
}

void HighScoreTableTest::insertOutsideTheTableChangesNothing() {
    const HighScoreTable original = HighScoreTable::DefaultHighScores();
    for (int slot : {0, 11, -1}) {
        HighScoreTable table = original;
        table.InsertHighScore(slot, "Nova", 5000, 1);
        QVERIFY2(table == original, qPrintable(QString("slot %1").arg(slot)));
    }
}

void HighScoreTableTest::insertMakesTheNameSafeForTheFile_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("ordinary") << QByteArray("Nova") << QByteArray("Nova");
    QTest::newRow("blanks kept") << QByteArray("  Nova  ") << QByteArray("  Nova  ");
    QTest::newRow("comma kept") << QByteArray("Nova, Jr.") << QByteArray("Nova, Jr.");
    QTest::newRow("double quotes") << QByteArray("\"Ace\" Nova") << QByteArray("'Ace' Nova");
    QTest::newRow("control characters") << QByteArray("a\tb\r\nc\x01", 7) << QByteArray("a b  c ");
    QTest::newRow("nul byte") << QByteArray("a\0b", 3) << QByteArray("a b");
    QTest::newRow("accents and scripts")
        << QByteArray("Zoë 李雷 שלום") << QByteArray("Zoë 李雷 שלום");
    QTest::newRow("combining marks kept") << QByteArray("e\xCC\x81") << QByteArray("e\xCC\x81");
    QTest::newRow("invalid UTF-8") << QByteArray(
                                          "a\xFF"
                                          "b\xC3")
                                   << QByteArray(
                                          "a\xEF\xBF\xBD"
                                          "b\xEF\xBF\xBD");
}

void HighScoreTableTest::insertMakesTheNameSafeForTheFile() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, stored);
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.InsertHighScore(3, name.toStdString(), 750, 2);
    QCOMPARE(QByteArray::fromStdString(table.HighNames[2]), stored);
    QCOMPARE(QByteArray::fromStdString(table.HighNames[3]), QByteArray("Sorrel"));
}

void HighScoreTableTest::insertCutsAnOverlongNameAtACharacterBoundary() {
    // One byte short of the limit, then a two-byte letter that would cross it.
    const std::string name = std::string(HighScoreTable::kMaxNameBytes - 1, 'x') + "é" + "tail";
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.InsertHighScore(1, name, 2000, 1);
    QCOMPARE(table.HighNames[0], std::string(HighScoreTable::kMaxNameBytes - 1, 'x'));

    const std::string megabyte(1 << 20, 'n');
    table.InsertHighScore(1, megabyte, 3000, 1);
    QCOMPARE(table.HighNames[0].size(), HighScoreTable::kMaxNameBytes);
}

void HighScoreTableTest::sortLeavesASortedTableUntouched() {
    const HighScoreTable read = tableOf(
        {" 1000|Quill| 1", " 900|Brindle| 1", " 900|Twin| 4", " 600|Juniper| 1", " 500|Fennel| 1",
         " 400|Clover| 1", " 300|Bramble| 1", " 200|Tansy| 1", " 100|Yarrow| 1", " 100|Rowan| 1"});
    HighScoreTable table = read;
    table.SortHighScores();
    QCOMPARE(rowsOf(table), rowsOf(read));

    table = HighScoreTable::DefaultHighScores();
    table.SortHighScores();
    QCOMPARE(rowsOf(table), rowsOf(HighScoreTable::DefaultHighScores()));
}

void HighScoreTableTest::sortIsAnUnstableExchangeSort() {
    HighScoreTable table = tableOf({" 200|A| 1", " 200|B| 2", " 300|C| 3", " 10|D| 1", " 9|E| 1",
                                    " 8|F| 1", " 7|G| 1", " 6|H| 1", " 5|I| 1", " 4|J| 1"});
    table.SortHighScores();
    const QStringList expected = {"300|C|3", " 200|B| 2", "200|A|1", " 10|D| 1", " 9|E| 1",
                                  " 8|F| 1", " 7|G| 1",   " 6|H| 1", " 5|I| 1",  " 4|J| 1"};
    QCOMPARE(rowsOf(table), expected);
}

void HighScoreTableTest::sortWritesPlainDigitsWhenItExchanges() {
    HighScoreTable table =
        tableOf({" 5|low| 2", " 1000|top| 1", "abc|text|x", " 900|next| 3", " 800|a| 1",
                 " 700|b| 1", " 600|c| 1", " 500|d| 1", " 400|e| 1", " 300|f| 1"});
    table.SortHighScores();
    // Exchanged entries carry plain digits of their values ("abc" and "x" become "0"); the
    // names travel unchanged.
    const QStringList expected = {"1000|top|1", "900|next|3", "800|a|1", "700|b|1", "600|c|1",
                                  "500|d|1",    "400|e|1",    "300|f|1", "5|low|2", "0|text|0"};
    QCOMPARE(rowsOf(table), expected);
}

QTEST_GUILESS_MAIN(HighScoreTableTest)
#include "HighScoreTableTest.moc"
