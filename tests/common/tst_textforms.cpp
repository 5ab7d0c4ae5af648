// Numeric value of a text, integer rounding, number and text patterns, plain
// number text, trimming, and the clock-time and race-time forms.

#include "common/textforms.h"
#include "common/timeforms.h"

#include <QtTest>
#include <limits>

using namespace kelmon;

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void val_data();
    void val();
    void isNumericText_data();
    void isNumericText();
    void cint_data();
    void cint();
    void cint16_data();
    void cint16();
    void formatNumber_data();
    void formatNumber();
    void formatText_data();
    void formatText();
    void formatChained();
    void plainNumber_data();
    void plainNumber();
    void trim_data();
    void trim();
    void hhmmTime_data();
    void hhmmTime();
    void raceTime_data();
    void raceTime();
};

void TestTextForms::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("unit after number") << "12.5kg" << 12.5;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks around and between") << " 1 2 " << 12.0;
    QTest::newRow("tab and line feed skipped") << "\t4\n2" << 42.0;
    QTest::newRow("blank inside fraction") << "3. 1 4" << 3.14;
    QTest::newRow("negative") << "-0.125" << -0.125;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("point last") << "5." << 5.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "1,000" << 1.0;
    QTest::newRow("digits after letters ignored") << "12abc34" << 12.0;
    QTest::newRow("exponent E") << "1e3" << 1000.0;
    QTest::newRow("exponent D") << "1D2" << 100.0;
    QTest::newRow("negative exponent") << "1.5E-2" << 0.015;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("exponent sign without digits") << "7e+" << 7.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex one letter") << "&Hc" << 12.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("prefix without digits") << "&H" << 0.0;
    QTest::newRow("unknown prefix") << "&X1" << 0.0;
    QTest::newRow("c style hex") << "0x1F" << 0.0;
    QTest::newRow("beyond double") << "1e400" << 0.0;
    QTest::newRow("sixteen digits") << "1234567890123456" << 1234567890123456.0;
}

void TestTextForms::val()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(kelmon::val(text), expected);
}

void TestTextForms::isNumericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("integer") << "12" << true;
    QTest::newRow("blanks around") << " -1.5e3 " << true;
    QTest::newRow("hex") << "&H1F" << true;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("unit after number") << "12.5kg" << false;
    QTest::newRow("blank inside") << "1 2" << false;
    QTest::newRow("open exponent") << "1e" << false;
}

void TestTextForms::isNumericText()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(kelmon::isNumericText(text), expected);
}

void TestTextForms::cint_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("0.5 to even") << 0.5 << 0;
    QTest::newRow("-2.5 to even") << -2.5 << -2;
    QTest::newRow("-3.5 to even") << -3.5 << -4;
    QTest::newRow("below half") << 2.4999 << 2;
    QTest::newRow("above half") << 2.5001 << 3;
    QTest::newRow("negative above half") << -1.6 << -2;
    QTest::newRow("beyond int") << 1e20 << std::numeric_limits<int>::max();
    QTest::newRow("below int") << -1e20 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestTextForms::cint()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(kelmon::cint(value), expected);
}

void TestTextForms::cint16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("weight half to even") << 52.5 << 52;
    QTest::newRow("largest") << 32767.0 << 32767;
    QTest::newRow("clamped high") << 40000.0 << 32767;
    QTest::newRow("clamped low") << -40000.0 << -32768;
    QTest::newRow("rounds past the top") << 32767.5 << 32767;
}

void TestTextForms::cint16()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(kelmon::cint16(value)), expected);
}

void TestTextForms::formatNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half away from binary below") << 2.675 << "0.00" << "2.68";
    QTest::newRow("1.005") << 1.005 << "0.00" << "1.01";
    QTest::newRow("negative half away") << -0.125 << "0.00" << "-0.13";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.00" << "0.30";
    QTest::newRow("zero two places") << 0.0 << "0.00" << "0.00";
    QTest::newRow("pads places") << 6.5 << "0.00" << "6.50";
    QTest::newRow("carry into integer") << 9.996 << "0.00" << "10.00";
    QTest::newRow("carry one place") << 99.96 << "0.0" << "100.0";
    QTest::newRow("negative one place") << -0.5 << "0.0" << "-0.5";
    QTest::newRow("rounds to zero, no sign") << -0.004 << "0.00" << "0.00";
    QTest::newRow("rounds to zero, no sign, integer") << -0.4 << "0" << "0";
    QTest::newRow("integer half away") << 2.5 << "0" << "3";
    QTest::newRow("negative integer half away") << -2.5 << "0" << "-3";
    QTest::newRow("integer 100") << 100.0 << "0" << "100";
    QTest::newRow("two digits pad") << 3.0 << "00" << "03";
    QTest::newRow("two digits, longer value whole") << 123.0 << "00" << "123";
    QTest::newRow("four digits pad") << 958.0 << "0000" << "0958";
    QTest::newRow("four digits, five digit value") << 10234.0 << "0000" << "10234";
    QTest::newRow("eight digits") << 0.0 << "00000000" << "00000000";
    QTest::newRow("grouping") << 12345678.0 << "#,0" << "12,345,678";
    QTest::newRow("grouping three digits") << 999.0 << "#,0" << "999";
    QTest::newRow("grouping zero") << 0.0 << "#,0" << "0";
    QTest::newRow("grouping rounds") << -1234.5 << "#,0" << "-1,235";
    QTest::newRow("grouping large") << 1e20 << "#,0" << "100,000,000,000,000,000,000";
    QTest::newRow("optional digit before point") << 3.14159 << "#0.0" << "3.1";
    QTest::newRow("optional digits") << 5.0 << "##0" << "5";
    QTest::newRow("padded with places") << 3.14159 << "00.00" << "03.14";
    QTest::newRow("only optional digit, zero") << 0.0 << "#" << "";
    QTest::newRow("optional decimals dropped") << 2.5 << "0.0#" << "2.5";
    QTest::newRow("text positions") << 5.0 << "@@" << " 5";
    QTest::newRow("text positions, fraction") << 1234.5 << "@@@@@@@" << " 1234.5";
    QTest::newRow("no pattern") << 40.0 << "" << "40";
    QTest::newRow("not finite") << std::numeric_limits<double>::infinity() << "0.00" << "0.00";
}

void TestTextForms::formatNumber()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(kelmon::format(value, pattern), expected);
}

void TestTextForms::formatText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("right-aligned") << "5.67" << "@@@@@" << " 5.67";
    QTest::newRow("exact width") << "10.23" << "@@@@@" << "10.23";
    QTest::newRow("longer shown whole") << "123456" << "@@" << "123456";
    QTest::newRow("empty fills") << "" << "@@@" << "   ";
    QTest::newRow("japanese text") << QString::fromUtf16(u"５位") << "@@@" << QString::fromUtf16(u" ５位");
    QTest::newRow("numeric text formatted") << " 2.675 " << "0.00" << "2.68";
    QTest::newRow("hex text formatted") << "&H1F" << "0000" << "0031";
    QTest::newRow("other text as it is") << "abc" << "0.00" << "abc";
    QTest::newRow("number with unit as it is") << "12.5kg" << "0.00" << "12.5kg";
    QTest::newRow("empty text as it is") << "" << "0.00" << "";
    QTest::newRow("no pattern") << "abc" << "" << "abc";
}

void TestTextForms::formatText()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(kelmon::format(text, pattern), expected);
}

void TestTextForms::formatChained()
{
    QCOMPARE(format(format(6.5, "0.00"), "@@@@@@"), QStringLiteral("  6.50"));
    QCOMPARE(format(format(5.43, "0.00"), "@@@@@@@"), QStringLiteral("   5.43"));
    QCOMPARE(format(format(1234567.0, "#,0"), "@@@@@@@"), QStringLiteral("1,234,567"));
    QCOMPARE(format(format(12.0, "#,0"), "@@@@@@@"), QStringLiteral("     12"));
}

void TestTextForms::plainNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer") << 40.0 << "40";
    QTest::newRow("fraction") << 45.5 << "45.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -3.25 << "-3.25";
    QTest::newRow("trailing zeros") << 100000.0 << "100000";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.3";
    QTest::newRow("small") << 0.001 << "0.001";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("largest 15 digits") << 999999999999999.0 << "999999999999999";
    QTest::newRow("16 digits") << 1e15 << "1E+15";
    QTest::newRow("18 digits") << 123456789012345678.0 << "1.23456789012346E+17";
    QTest::newRow("negative 16 digits") << -2.5e15 << "-2.5E+15";
    QTest::newRow("fraction cut to 15 digits") << 1234567.891234567 << "1234567.89123457";
    QTest::newRow("tiny") << 1e-7 << "1E-07";
}

void TestTextForms::plainNumber()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(kelmon::plainNumber(value), expected);
}

void TestTextForms::trim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("both");
    QTest::addColumn<QString>("leading");
    QTest::addColumn<QString>("trailing");
    const QString ib = QString(QChar(0x3000));
    QTest::newRow("both kinds") << ib + " abc" + ib + " " << "abc" << "abc" + ib + " " << ib + " abc";
    QTest::newRow("inner blanks stay") << " a" + ib + "b " << "a" + ib + "b" << "a" + ib + "b " << " a" + ib + "b";
    QTest::newRow("only blanks") << ib + " " + ib << "" << "" << "";
    QTest::newRow("tab is no blank") << "\tabc\t" << "\tabc\t" << "\tabc\t" << "\tabc\t";
    QTest::newRow("empty") << "" << "" << "" << "";
}

void TestTextForms::trim()
{
    QFETCH(QString, text);
    QFETCH(QString, both);
    QFETCH(QString, leading);
    QFETCH(QString, trailing);
    QCOMPARE(trimBlanks(text), both);
    QCOMPARE(trimLeadingBlanks(text), leading);
    QCOMPARE(trimTrailingBlanks(text), trailing);
}

void TestTextForms::hhmmTime_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("leading zero") << "0613" << QString::fromUtf16(u"06時13分");
    QTest::newRow("blanks around") << " 1745　" << QString::fromUtf16(u"17時45分");
    QTest::newRow("blank") << "  " << "";
    QTest::newRow("ideographic blank") << QString(QChar(0x3000)) << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("two characters") << "06" << QString::fromUtf16(u"06時分");
    QTest::newRow("one character") << "6" << QString::fromUtf16(u"6時分");
    QTest::newRow("longer") << "061345" << QString::fromUtf16(u"06時13分");
}

void TestTextForms::hhmmTime()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(modkelmon::hhmm_time(stored), expected);
}

void TestTextForms::raceTime_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("four digits") << 1496.0 << "1.49.6";
    QTest::newRow("three digits") << 958.0 << "0.95.8";
    QTest::newRow("one digit") << 1.0 << "0.00.1";
    QTest::newRow("five digits") << 10234.0 << "1.02.3";
    QTest::newRow("zero") << 0.0 << "";
    QTest::newRow("negative") << -5.0 << "";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "";
}

void TestTextForms::raceTime()
{
    QFETCH(double, stored);
    QFETCH(QString, expected);
    QCOMPARE(modkelmon::race_time(stored), expected);
}

QTEST_APPLESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
