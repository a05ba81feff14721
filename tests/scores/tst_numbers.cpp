// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include <QTest>

#include <clocale>
#include <limits>

using namespace brightsum;

class NumbersTest : public QObject {
    Q_OBJECT

private slots:
    void textValue_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("file score") << QByteArray(" 1000") << 1000.0;
        QTest::newRow("letters") << QByteArray("abc") << 0.0;
        QTest::newRow("blanks inside digits") << QByteArray("1 0 0 0") << 1000.0;
        QTest::newRow("tab and line feed anywhere") << QByteArray("\t-\n4\t2") << -42.0;
        QTest::newRow("carriage return stops") << QByteArray("\r5") << 0.0;
        QTest::newRow("second period stops") << QByteArray("1.2.3") << 1.2;
        QTest::newRow("comma is no decimal point") << QByteArray("3,5") << 3.0;
        QTest::newRow("blanks in the exponent") << QByteArray("2 e 2") << 200.0;
        QTest::newRow("capital exponent with sign") << QByteArray("25E-1") << 2.5;
        QTest::newRow("exponent sign without digits") << QByteArray("7e+x") << 7.0;
        QTest::newRow("overflow") << QByteArray("-1e999") << -inf;
        QTest::newRow("400 digits") << QByteArray(400, '9') << inf;
        QTest::newRow("underflow") << QByteArray("0.000001e-400") << 0.0;
        QTest::newRow("leading zeros") << QByteArray(500, '0') + "12" << 12.0;
    }

    void textValue() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(TextValue(text.toStdString()), value);
    }

    void textValueIgnoresTheLocale() {
        // Qt adopts the user's locale on start-up; a German one must not turn "1.5" into 1.
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        const std::string saved = previous ? previous : "C";
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE")) {
            QSKIP("no German locale is installed on this machine");
        }
        const double value = TextValue("1.5");
        const std::optional<std::string> text = NumberText("2.25");
        std::setlocale(LC_NUMERIC, saved.c_str());
        QCOMPARE(value, 1.5);
        QCOMPARE(QByteArray::fromStdString(text.value_or("")), QByteArray(" 2.25"));
    }

    void numberText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("file");  // null: refused
        QTest::newRow("plain") << QByteArray("1000") << QByteArray(" 1000");
        QTest::newRow("negative") << QByteArray("-50") << QByteArray("-50");
        QTest::newRow("negative zero") << QByteArray("-0") << QByteArray(" 0");
        QTest::newRow("blanks, tabs, sign, zeros") << QByteArray(" \t+007 \t") << QByteArray(" 7");
        QTest::newRow("whole with a point") << QByteArray("12.0") << QByteArray(" 12");
        QTest::newRow("large whole number in digits")
            << QByteArray("1e20") << QByteArray(" 100000000000000000000");
        QTest::newRow("negative fraction") << QByteArray("-2.75") << QByteArray("-2.75");
        QTest::newRow("trailing point") << QByteArray("5.") << QByteArray(" 5");
        for (const char* refused : {"", "   ", "abc", "12abc", "1 000", "1.2.3", "-", ".", "1e",
                                    "\n5\n", "1e999", "inf", "nan", "0x10"}) {
            QTest::addRow("refused \"%s\"", refused) << QByteArray(refused) << QByteArray();
        }
    }

    void numberText() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, file);
        const std::optional<std::string> result = NumberText(text.toStdString());
        QCOMPARE(result.has_value(), !file.isNull());
        if (result) {
            QCOMPARE(QByteArray::fromStdString(*result), file);
            QCOMPARE(TextValue(*result), TextValue(text.toStdString()));  // reads back the same
        }
    }

    void plainText() {
        QCOMPARE(PlainText(-0.0), std::string("0"));
        QCOMPARE(PlainText(-50), std::string("-50"));
        QCOMPARE(PlainText(0.1), std::string("0.1"));
        QCOMPARE(PlainText(1e17), std::string("100000000000000000"));
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
