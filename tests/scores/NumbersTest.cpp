#include "Numbers.h"

#include <QtTest>

#include <clocale>
#include <cmath>
#include <limits>

using namespace brightsum;

class NumbersTest : public QObject {
    Q_OBJECT

private slots:
    void textValueReadsLikeCaptions_data();
    void textValueReadsLikeCaptions();
    void textValueOfHugeNumbers();
    void textValueIgnoresTheLocale();
    void numberTextGivesTheFileForm_data();
    void numberTextGivesTheFileForm();
    void numberTextRefusesWhatIsNoNumber_data();
    void numberTextRefusesWhatIsNoNumber();
    void plainTextIsShortestDecimal_data();
    void plainTextIsShortestDecimal();
};

void NumbersTest::textValueReadsLikeCaptions_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("file score") << QByteArray(" 1000") << 1000.0;
    QTest::newRow("plain") << QByteArray("7") << 7.0;
    QTest::newRow("negative") << QByteArray("-50") << -50.0;
    QTest::newRow("plus sign") << QByteArray("+12") << 12.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("only a sign") << QByteArray("-") << 0.0;
    QTest::newRow("only a period") << QByteArray(".") << 0.0;
    QTest::newRow("blanks inside digits") << QByteArray("1 0 0 0") << 1000.0;
    QTest::newRow("tab and line feed anywhere") << QByteArray("\t-\n4\t2") << -42.0;
    QTest::newRow("carriage return stops") << QByteArray("\r5") << 0.0;
    QTest::newRow("stops at a letter") << QByteArray("12abc34") << 12.0;
    QTest::newRow("second period stops") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("leading period") << QByteArray(".5") << 0.5;
    QTest::newRow("exponent") << QByteArray("-1.5e3") << -1500.0;
    QTest::newRow("capital exponent with sign") << QByteArray("25E-1") << 2.5;
    QTest::newRow("blanks in the exponent") << QByteArray("2 e 2") << 200.0;
    QTest::newRow("exponent without digits") << QByteArray("7e") << 7.0;
    QTest::newRow("exponent sign without digits") << QByteArray("7e+x") << 7.0;
    QTest::newRow("comma is no decimal point") << QByteArray("3,5") << 3.0;
    QTest::newRow("two signs") << QByteArray("+-5") << 0.0;
}

void NumbersTest::textValueReadsLikeCaptions() {
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(TextValue(text.toStdString()), value);
}

void NumbersTest::textValueOfHugeNumbers() {
    const double inf = std::numeric_limits<double>::infinity();
    QCOMPARE(TextValue("1e999"), inf);
    QCOMPARE(TextValue("-1e999"), -inf);
    QCOMPARE(TextValue(std::string(400, '9')), inf);
    QCOMPARE(TextValue("1e-999"), 0.0);
    QCOMPARE(TextValue("0.000001e-400"), 0.0);
    QCOMPARE(TextValue("1e99999999999999999999"), inf);
    // Leading zeros do not make a number large.
    QCOMPARE(TextValue(std::string(500, '0') + "12"), 12.0);
}

void NumbersTest::textValueIgnoresTheLocale() {
    // Qt adopts the user's locale on start-up; a German locale must not turn "1.5" into 1.
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

void NumbersTest::numberTextGivesTheFileForm_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("plain") << QByteArray("1000") << QByteArray(" 1000");
    QTest::newRow("already file form") << QByteArray(" 1000") << QByteArray(" 1000");
    QTest::newRow("level") << QByteArray("3") << QByteArray(" 3");
    QTest::newRow("negative") << QByteArray("-50") << QByteArray("-50");
    QTest::newRow("zero") << QByteArray("0") << QByteArray(" 0");
    QTest::newRow("negative zero") << QByteArray("-0") << QByteArray(" 0");
    QTest::newRow("plus sign") << QByteArray("+7") << QByteArray(" 7");
    QTest::newRow("surrounding blanks and tabs") << QByteArray(" \t42 \t") << QByteArray(" 42");
    QTest::newRow("leading zeros") << QByteArray("007") << QByteArray(" 7");
    QTest::newRow("whole with a point") << QByteArray("12.0") << QByteArray(" 12");
    QTest::newRow("exponent") << QByteArray("1e3") << QByteArray(" 1000");
    QTest::newRow("large whole number in digits")
        << QByteArray("1e20") << QByteArray(" 100000000000000000000");
    QTest::newRow("fraction") << QByteArray("0.5") << QByteArray(" 0.5");
    QTest::newRow("negative fraction") << QByteArray("-2.75") << QByteArray("-2.75");
    QTest::newRow("trailing point") << QByteArray("5.") << QByteArray(" 5");
}

void NumbersTest::numberTextGivesTheFileForm() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, file);
    const std::optional<std::string> result = NumberText(text.toStdString());
    QVERIFY(result.has_value());
    QCOMPARE(QByteArray::fromStdString(*result), file);
    // What is written reads back as the same number.
    QCOMPARE(TextValue(*result), TextValue(text.toStdString()));
}

void NumbersTest::numberTextRefusesWhatIsNoNumber_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("blanks only") << QByteArray("   ");
    QTest::newRow("letters") << QByteArray("abc");
    QTest::newRow("trailing garbage") << QByteArray("12abc");
    QTest::newRow("blank inside") << QByteArray("1 000");
    QTest::newRow("two points") << QByteArray("1.2.3");
    QTest::newRow("sign only") << QByteArray("-");
    QTest::newRow("point only") << QByteArray(".");
    QTest::newRow("exponent without digits") << QByteArray("1e");
    QTest::newRow("line feed around") << QByteArray("\n5\n");
    QTest::newRow("too large for a number") << QByteArray("1e999");
    QTest::newRow("infinity spelt out") << QByteArray("inf");
    QTest::newRow("not a number spelt out") << QByteArray("nan");
    QTest::newRow("hexadecimal") << QByteArray("0x10");
}

void NumbersTest::numberTextRefusesWhatIsNoNumber() {
    QFETCH(QByteArray, text);
    QVERIFY(!NumberText(text.toStdString()).has_value());
}

void NumbersTest::plainTextIsShortestDecimal_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("seven") << 7.0 << QByteArray("7");
    QTest::newRow("thousand") << 1000.0 << QByteArray("1000");
    QTest::newRow("negative") << -50.0 << QByteArray("-50");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("fraction") << 0.25 << QByteArray("0.25");
    QTest::newRow("tenth") << 0.1 << QByteArray("0.1");
    QTest::newRow("large whole") << 1e17 << QByteArray("100000000000000000");
}

void NumbersTest::plainTextIsShortestDecimal() {
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(PlainText(value)), text);
}

QTEST_GUILESS_MAIN(NumbersTest)
#include "NumbersTest.moc"
