#include "HighScoreFile.h"

#include "TestFiles.h"

#include <QtTest>

#include <string>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

std::optional<HighScoreTable> parseBytes(const QByteArray& bytes) {
    return HighScoreFile::parse(std::string_view(bytes.constData(), bytes.size()));
}

QByteArray serialised(const HighScoreTable& table) {
    const std::optional<std::string> bytes = HighScoreFile::serialise(table);
    return bytes ? bytesOf(*bytes) : QByteArray("<serialise failed>");
}

// ten.dat with its first name replaced by `name` (raw bytes).
QByteArray tenWithFirstName(const QByteArray& name) {
    QByteArray bytes = fixture("ten.dat");
    return bytes.replace("\"Mira\"", "\"" + name + "\"");
}

}  // namespace

class HighScoreFormatTest : public QObject {
    Q_OBJECT

private slots:
    void defaultTableWritesTheDefaultFile();
    void fieldsKeepTheFilesTexts();
    void layoutsReadAlikeAndRewriteToTenLines_data();
    void layoutsReadAlikeAndRewriteToTenLines();
    void unquotedFieldsAreTrimmed();
    void tooFewFieldsIsUnreadable_data();
    void tooFewFieldsIsUnreadable();
    void commaInsideANameReadsBackWhole();
    void numbersThatDoNotConvertFailTheWrite_data();
    void numbersThatDoNotConvertFailTheWrite();
    void aWrittenFileReadsBackAndRewritesTheSameBytes();
    void windows1252FileReadsAndRewritesUnchanged();
    void utf8NamesThatFitAreWrittenAsWindows1252();
    void utf8NamesThatDoNotFitStayUtf8();
    void windows1252BytesThatLookLikeUtf8AreWrittenAsUtf8();
    void longestFieldIsReadOneMoreByteIsNot_data();
    void longestFieldIsReadOneMoreByteIsNot();
    void writerKeepsEveryFieldReadable();
    void quotesNeverShiftTheFields();
};

void HighScoreFormatTest::defaultTableWritesTheDefaultFile() {
    const QByteArray bytes = serialised(HighScoreTable::DefaultHighScores());
    QVERIFY(bytes.startsWith("\" 1000\",\"Quill\",\" 1\"\r\n"));
    QCOMPARE(bytes, fixture("default.dat"));
}

void HighScoreFormatTest::fieldsKeepTheFilesTexts() {
    const std::optional<HighScoreTable> table = parseBytes(fixture("ten.dat"));
    QVERIFY(table);
    const QStringList expected = {
        " 9500|Mira| 5",  " 8700|Oskar| 4", " 8700|Tilde| 3", " 6000|Bruno| 2", " 5000|Ingrid| 5",
        " 4200|Pavel| 1", " 3300|Lotte| 2", " 2100|Anouk| 3", " 1000|Sami| 1",  " 50|Wren| 1"};
    QCOMPARE(rowsOf(*table), expected);
}

void HighScoreFormatTest::layoutsReadAlikeAndRewriteToTenLines_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("twelve lines") << "twelve-lines.dat";
    QTest::newRow("two entries a line") << "two-per-line.dat";
    QTest::newRow("line feeds only") << "lf-only.dat";
    QTest::newRow("carriage returns only") << "cr-only.dat";
    QTest::newRow("byte-order mark") << "bom.dat";
    QTest::newRow("stray text around quotes") << "stray-text.dat";
}

void HighScoreFormatTest::layoutsReadAlikeAndRewriteToTenLines() {
    QFETCH(QString, file);
    const std::optional<HighScoreTable> table = parseBytes(fixture(file));
    QVERIFY(table);
    QCOMPARE(rowsOf(*table), rowsOf(*parseBytes(fixture("ten.dat"))));
    QCOMPARE(serialised(*table), fixture("ten.dat"));
}

void HighScoreFormatTest::unquotedFieldsAreTrimmed() {
    const std::optional<HighScoreTable> table = parseBytes(fixture("unquoted.dat"));
    QVERIFY(table);
    QCOMPARE(rowsOf(*table).mid(0, 3),
             QStringList({"9500|Mira|5", "8700|Oskar|4", "8700|Tilde|3"}));
    QCOMPARE(serialised(*table), fixture("ten.dat"));
}

void HighScoreFormatTest::tooFewFieldsIsUnreadable_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray ten = fixture("ten.dat");
    QTest::newRow("nine lines") << fixture("nine-lines.dat");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("twenty-nine fields and a comma") << ten.left(ten.lastIndexOf(",\" 1\"")) + ",";
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("one line") << ten.left(ten.indexOf('\r'));
}

void HighScoreFormatTest::tooFewFieldsIsUnreadable() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!parseBytes(bytes));
}

void HighScoreFormatTest::commaInsideANameReadsBackWhole() {
    const QByteArray bytes = fixture("comma-in-name.dat");
    const std::optional<HighScoreTable> table = parseBytes(bytes);
    QVERIFY(table);
    QCOMPARE(rowsOf(*table)[1], QString(" 8700|Oskar, the Great| 4"));
    QCOMPARE(rowsOf(*table)[2], QString(" 8700|Tilde| 3"));
    QCOMPARE(serialised(*table), bytes);
}

void HighScoreFormatTest::numbersThatDoNotConvertFailTheWrite_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("score abc") << "abc-score.dat" << 3 << "abc|Bruno| 2";
    QTest::newRow("empty level") << "empty-level.dat" << 6 << " 3300|Lotte|";
}

void HighScoreFormatTest::numbersThatDoNotConvertFailTheWrite() {
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(QString, text);
    const std::optional<HighScoreTable> table = parseBytes(fixture(file));
    QVERIFY(table);  // reading takes any text ...
    QCOMPARE(rowsOf(*table)[row], text);
    QVERIFY(!HighScoreFile::serialise(*table));  // ... writing needs numbers
}

void HighScoreFormatTest::aWrittenFileReadsBackAndRewritesTheSameBytes() {
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.InsertHighScore(4, "Nova, \"Ace\"", 650, 3);
    table.InsertHighScore(1, "Zoë", 1200.5, 2);
    const QByteArray first = serialised(table);
    QVERIFY(first.contains("\" 650\",\"Nova, 'Ace'\",\" 3\"\r\n"));
    QVERIFY(first.startsWith("\" 1200.5\",\"Zo\xEB\",\" 2\"\r\n"));

    const std::optional<HighScoreTable> read = parseBytes(first);
    QVERIFY(read);
    QCOMPARE(read->HighNames, table.HighNames);
    QCOMPARE(bytesOf(read->HighScores[4]), QByteArray(" 650"));
    QCOMPARE(bytesOf(read->HighLevels[4]), QByteArray(" 3"));
    QCOMPARE(serialised(*read), first);
    QCOMPARE(rowsOf(*parseBytes(serialised(*read))), rowsOf(*read));
}

void HighScoreFormatTest::windows1252FileReadsAndRewritesUnchanged() {
    const QByteArray bytes = fixture("cp1252.dat");
    const std::optional<HighScoreTable> table = parseBytes(bytes);
    QVERIFY(table);
    QCOMPARE(table->HighNames[0], std::string("Zoë"));
    QCOMPARE(table->HighNames[1], std::string("€uro"));
    QCOMPARE(table->HighNames[2], std::string("Œuvre"));
    QCOMPARE(table->HighNames[4], std::string("\u0081\u008D\u008F\u0090\u009D"));
    QCOMPARE(table->HighNames[6], std::string("“Q”"));
    QCOMPARE(table->HighNames[8], std::string("\u00A0nbsp"));
    QCOMPARE(table->HighNames[9], std::string("ÿ"));
    QCOMPARE(serialised(*table), bytes);
}

void HighScoreFormatTest::utf8NamesThatFitAreWrittenAsWindows1252() {
    const std::optional<HighScoreTable> utf8 = parseBytes(fixture("utf8-narrow.dat"));
    QVERIFY(utf8);
    QCOMPARE(rowsOf(*utf8), rowsOf(*parseBytes(fixture("cp1252.dat"))));
    QCOMPARE(serialised(*utf8), fixture("cp1252.dat"));
}

void HighScoreFormatTest::utf8NamesThatDoNotFitStayUtf8() {
    const QByteArray bytes = fixture("utf8-wide.dat");
    const std::optional<HighScoreTable> table = parseBytes(bytes);
    QVERIFY(table);
    QCOMPARE(table->HighNames[1], std::string("李雷"));
    QCOMPARE(table->HighNames[2], std::string("Ἀθηνᾶ"));
    // "Zoë" would fit the 8-bit code page, but the file is written in one encoding.
    QCOMPARE(serialised(*table), bytes);
    QVERIFY(!serialised(*table).contains("\xEB"));
}

void HighScoreFormatTest::windows1252BytesThatLookLikeUtf8AreWrittenAsUtf8() {
    // "Ã©" in Windows-1252 is C3 A9, which is also the UTF-8 of "é": written so, it would read
    // back as another name.
    HighScoreTable table = HighScoreTable::DefaultHighScores();
    table.HighNames[0] = "Ã©";
    const QByteArray bytes = serialised(table);
    QVERIFY(bytes.contains("\"\xC3\x83\xC2\xA9\""));
    QCOMPARE(parseBytes(bytes)->HighNames[0], std::string("Ã©"));
}

void HighScoreFormatTest::longestFieldIsReadOneMoreByteIsNot_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    const QByteArray longest(int(HighScoreTable::kMaxNameBytes), 'n');
    QTest::newRow("longest quoted name") << tenWithFirstName(longest) << true;
    QTest::newRow("one byte more") << tenWithFirstName(longest + "n") << false;
    QByteArray unquoted = fixture("ten.dat");
    unquoted.replace("\"Mira\"", longest);
    QTest::newRow("longest unquoted name") << unquoted << true;
    unquoted.replace(longest, longest + "n");
    QTest::newRow("unquoted one byte more") << unquoted << false;
    QByteArray score = fixture("ten.dat");
    score.replace("\" 9500\"", "\"" + QByteArray(5000, '9') + "\"");
    QTest::newRow("score of 5000 digits") << score << false;
    QByteArray unterminated = fixture("ten.dat");
    unterminated.replace("\"Mira\"", "\"Mira" + QByteArray(10000, 'x'));
    QTest::newRow("quote never closed") << unterminated << false;
}

void HighScoreFormatTest::longestFieldIsReadOneMoreByteIsNot() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    const std::optional<HighScoreTable> table = parseBytes(bytes);
    QCOMPARE(table.has_value(), readable);
    if (table) {
        QCOMPARE(table->HighNames[0].size(), HighScoreTable::kMaxNameBytes);
        QCOMPARE(table->HighNames[1], std::string("Oskar"));
    }
}

void HighScoreFormatTest::writerKeepsEveryFieldReadable() {
    // A Windows-1252 name of the longest length doubles in UTF-8; a second name outside the
    // code page forces UTF-8, so the first must be cut to stay a readable field.
    const QByteArray narrow(int(HighScoreTable::kMaxNameBytes), '\xE9');
    std::optional<HighScoreTable> table = parseBytes(tenWithFirstName(narrow));
    QVERIFY(table);
    QCOMPARE(table->HighNames[0].size(), 2 * HighScoreTable::kMaxNameBytes);
    table->HighNames[1] = "李雷";

    const std::optional<HighScoreTable> read = parseBytes(serialised(*table));
    QVERIFY(read);
    QCOMPARE(read->HighNames[0], table->HighNames[0].substr(0, HighScoreTable::kMaxNameBytes));
    QCOMPARE(read->HighNames[1], std::string("李雷"));
}

void HighScoreFormatTest::quotesNeverShiftTheFields() {
    // A quote inside an unquoted field, and one set into a name by hand: both become
    // apostrophes, and every other field stays where it was.
    QByteArray bytes = fixture("ten.dat");
    bytes.replace("\"Mira\"", "Mi\"ra");
    std::optional<HighScoreTable> table = parseBytes(bytes);
    QVERIFY(table);
    QCOMPARE(table->HighNames[0], std::string("Mi'ra"));

    table->HighNames[1] = "Os\"kar";
    const std::optional<HighScoreTable> read = parseBytes(serialised(*table));
    QVERIFY(read);
    QCOMPARE(read->HighNames[1], std::string("Os'kar"));
    QCOMPARE(rowsOf(*read).mid(2), rowsOf(*table).mid(2));
}

QTEST_GUILESS_MAIN(HighScoreFormatTest)
#include "HighScoreFormatTest.moc"
