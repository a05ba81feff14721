// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFormat.h"
#include "TestFiles.h"

#include <QTest>

#include <string>

using namespace brightsum;
using namespace brightsum::testfiles;

namespace {

// The longest name the game places into a table: every file it writes must hold it.
int longestPlacedName() {
    HighScoreTable table;
    table.InsertHighScore(1, std::string(1 << 16, 'n'), 1, 1);
    return int(table.HighNames[0].size());
}

// ten.dat with its first name, quotes included, replaced by `field` (raw bytes).
QByteArray tenWithFirstName(const QByteArray& field) {
    return fixture("ten.dat").replace("\"Mira\"", field);
}

}  // namespace

class HighScoreFormatTest : public QObject {
    Q_OBJECT

private slots:
    void readsAndRewrites_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("rewritten");  // empty: the write fails
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");  // what that row reads as
        struct Case {
            const char *label, *file, *rewritten;
            int row;
            const char* text;
        };
        const Case cases[] = {
            {"as written", "ten.dat", "ten.dat", 0, " 9500|Mira| 5"},
            {"twelve lines", "twelve-lines.dat", "ten.dat", 9, " 50|Wren| 1"},
            {"two entries a line", "two-per-line.dat", "ten.dat", 1, " 8700|Oskar| 4"},
            {"line feeds only", "lf-only.dat", "ten.dat", 9, " 50|Wren| 1"},
            {"carriage returns only", "cr-only.dat", "ten.dat", 9, " 50|Wren| 1"},
            {"byte-order mark", "bom.dat", "ten.dat", 0, " 9500|Mira| 5"},
            {"stray text around quotes", "stray-text.dat", "ten.dat", 0, " 9500|Mira| 5"},
            {"unquoted fields are trimmed", "unquoted.dat", "ten.dat", 1, "8700|Oskar|4"},
            {"comma inside a name", "comma-in-name.dat", "comma-in-name.dat", 1,
             " 8700|Oskar, the Great| 4"},
            {"Windows-1252", "cp1252.dat", "cp1252.dat", 1, " 8700|€uro| 4"},
            {"UTF-8 that fits Windows-1252", "utf8-narrow.dat", "cp1252.dat", 1, " 8700|€uro| 4"},
            {"UTF-8 beyond Windows-1252", "utf8-wide.dat", "utf8-wide.dat", 1, " 8700|李雷| 4"},
            {"score abc", "abc-score.dat", "", 3, "abc|Bruno| 2"},
            {"empty level", "empty-level.dat", "", 6, " 3300|Lotte|"},
        };
        for (const Case& c : cases) {
            QTest::newRow(c.label)
                << QString(c.file) << QString(c.rewritten) << c.row << QString(c.text);
        }
    }

    void readsAndRewrites() {
        QFETCH(QString, file);
        QFETCH(QString, rewritten);
        QFETCH(int, row);
        QFETCH(QString, text);
        const std::optional<HighScoreTable> table = parseBytes(fixture(file));
        QVERIFY(table);  // reading takes any text, writing needs numbers
        QCOMPARE(rowsOf(*table)[row], text);
        if (rewritten.isEmpty()) {
            QVERIFY(!HighScoreFormat::serialise(*table));
        } else {
            QCOMPARE(serialised(*table), fixture(rewritten));
        }
    }

    void readable_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        const QByteArray ten = fixture("ten.dat");
        const QByteArray longest(longestPlacedName(), 'n');
        QTest::newRow("nine lines") << fixture("nine-lines.dat") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("only line ends") << QByteArray("\r\n\r\n\r\n") << false;
        QTest::newRow("29 fields and a comma")
            << ten.left(ten.lastIndexOf(",\" 1\"")) + "," << false;
        QTest::newRow("longest quoted name") << tenWithFirstName('"' + longest + '"') << true;
        QTest::newRow("one byte more") << tenWithFirstName('"' + longest + "n\"") << false;
        QTest::newRow("longest unquoted name") << tenWithFirstName(longest) << true;
        QTest::newRow("unquoted one byte more") << tenWithFirstName(longest + "n") << false;
        QTest::newRow("quote never closed")
            << tenWithFirstName("\"Mira" + QByteArray(10000, 'x')) << false;
        QTest::newRow("score of 5000 digits")
            << QByteArray(ten).replace("\" 9500\"", '"' + QByteArray(5000, '9') + '"') << false;
    }

    void readable() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        const std::optional<HighScoreTable> table = parseBytes(bytes);
        QCOMPARE(table.has_value(), readable);
        if (table) {
            QCOMPARE(table->HighNames[0], std::string(longestPlacedName(), 'n'));
            QCOMPARE(table->HighNames[1], std::string("Oskar"));
        }
    }

    // Bytes that only look like UTF-8 (an encoded surrogate, an overlong form) make the file
    // one in the legacy code page, Windows-1252, as a file edited by hand on Windows is.
    void notQuiteUtf8ReadsAsWindows1252_data() {
        QTest::addColumn<QByteArray>("name");  // the first name's bytes
        QTest::addColumn<QString>("read");
        QTest::newRow("surrogate ED A0 80") << QByteArray("\xED\xA0\x80") << QString("í\u00A0€");
        QTest::newRow("overlong E0 80 AF") << QByteArray("\xE0\x80\xAF") << QString("à€¯");
        QTest::newRow("overlong C0 AF") << QByteArray("\xC0\xAF") << QString("À¯");
    }

    void notQuiteUtf8ReadsAsWindows1252() {
        QFETCH(QByteArray, name);
        QFETCH(QString, read);
        const std::optional<HighScoreTable> table = parseBytes(tenWithFirstName('"' + name + '"'));
        QVERIFY(table);
        QCOMPARE(QString::fromStdString(table->HighNames[0]), read);
    }

    void aWrittenFileReadsBackAndRewritesTheSameBytes() {
        QCOMPARE(serialised(HighScoreTable::DefaultHighScores()), fixture("default.dat"));

        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(4, "Nova, \"Ace\"", 650, 3);
        table.InsertHighScore(1, "Zoë", 1200.5, 2);
        const QByteArray first = serialised(table);
        QVERIFY(first.contains("\" 650\",\"Nova, 'Ace'\",\" 3\"\r\n"));
        QVERIFY(first.startsWith("\" 1200.5\",\"Zo\xEB\",\" 2\"\r\n"));

        const std::optional<HighScoreTable> read = parseBytes(first);
        QVERIFY(read);
        QCOMPARE(read->HighNames, table.HighNames);
        QCOMPARE(rowsOf(*read)[4], QString(" 650|Nova, 'Ace'| 3"));
        QCOMPARE(serialised(*read), first);
    }

    void windows1252BytesThatLookLikeUtf8AreWrittenAsUtf8() {
        // "Ã©" in Windows-1252 is C3 A9, which is also the UTF-8 of "é": written so, it would read
        // back as another name.
        HighScoreTable table = HighScoreTable::DefaultHighScores();
        table.HighNames[0] = "Ã©";
        const QByteArray bytes = serialised(table);
        QVERIFY(bytes.contains("\"\xC3\x83\xC2\xA9\""));
        QCOMPARE(parseBytes(bytes)->HighNames[0], std::string("Ã©"));
    }

    void writerKeepsEveryFieldReadable() {
        // A Windows-1252 name of the longest length doubles in UTF-8; a second name outside the
        // code page forces UTF-8, so the first must be cut to stay a readable field.
        const QByteArray narrow(longestPlacedName(), '\xE9');
        std::optional<HighScoreTable> table = parseBytes(tenWithFirstName('"' + narrow + '"'));
        QVERIFY(table);
        table->HighNames[1] = "李雷";

        const std::optional<HighScoreTable> read = parseBytes(serialised(*table));
        QVERIFY(read);
        QCOMPARE(read->HighNames[0], table->HighNames[0].substr(0, narrow.size()));
        QCOMPARE(read->HighNames[1], std::string("李雷"));
    }

    void quotesNeverShiftTheFields() {
        // A quote inside an unquoted field, and one set into a name by hand: both become
        // apostrophes, and every other field stays where it was.
        std::optional<HighScoreTable> table = parseBytes(tenWithFirstName("Mi\"ra"));
        QVERIFY(table);
        QCOMPARE(table->HighNames[0], std::string("Mi'ra"));

        table->HighNames[1] = "Os\"kar";
        const std::optional<HighScoreTable> read = parseBytes(serialised(*table));
        QVERIFY(read);
        QCOMPARE(read->HighNames[1], std::string("Os'kar"));
        QCOMPARE(rowsOf(*read).mid(2), rowsOf(*table).mid(2));
    }
};

QTEST_GUILESS_MAIN(HighScoreFormatTest)
#include "tst_format.moc"
