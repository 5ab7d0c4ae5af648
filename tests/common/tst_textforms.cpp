// Numeric value of a text, integer rounding, number and text patterns, plain
// number text.

#include "common/textforms.h"

#include <QtTest>
#include <limits>

using namespace kelmon;

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("unit after number") << "12.5kg" << 12.5;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("blanks around and between") << " 1 2 " << 12.0;
        QTest::newRow("blank after sign") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("exponent D") << "1D2" << 100.0;
        QTest::newRow("negative exponent") << "1.5E-2" << 0.015;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("octal stops at 8") << "&O18" << 1.0;
        QTest::newRow("c style hex") << "0x1F" << 0.0;
        QTest::newRow("beyond double") << "1e400" << 0.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(kelmon::val(text), expected);
    }

    void cint_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("expected16");
        QTest::newRow("2.5 to even") << 2.5 << 2 << 2;
        QTest::newRow("3.5 to even") << 3.5 << 4 << 4;
        QTest::newRow("-2.5 to even") << -2.5 << -2 << -2;
        QTest::newRow("beyond 16 bits") << 40000.0 << 40000 << 32767;
        QTest::newRow("beyond int") << 1e20 << std::numeric_limits<int>::max() << 32767;
        QTest::newRow("below int") << -1e20 << std::numeric_limits<int>::min() << -32768;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0 << 0;
    }
    void cint()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QFETCH(int, expected16);
        QCOMPARE(kelmon::cint(value), expected);
        QCOMPARE(int(kelmon::cint16(value)), expected16);
    }

    void format_data()
    {
        // A number or a text, formatted by the matching overload.
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QVariant v, const char *pattern, const QString &expected) {
            QTest::newRow(name) << v << QString::fromLatin1(pattern) << expected;
        };
        row("half away from binary below", 2.675, "0.00", "2.68");
        row("negative half away", -0.125, "0.00", "-0.13");
        row("rounds to zero, no sign", -0.004, "0.00", "0.00");
        row("integer half away", 2.5, "0", "3");
        row("four digits pad", 958.0, "0000", "0958");
        row("grouping", 12345678.0, "#,0", "12,345,678");
        row("grouping rounds", -1234.5, "#,0", "-1,235");
        row("text positions", 5.0, "@@", " 5");
        row("not finite", std::numeric_limits<double>::infinity(), "0.00", "0.00");
        row("text right-aligned", QString("5.67"), "@@@@@", " 5.67");
        row("japanese text", QString::fromUtf16(u"５位"), "@@@", QString::fromUtf16(u" ５位"));
        row("numeric text formatted", QString(" 2.675 "), "0.00", "2.68");
        row("tab-padded numeric text", QString("\t12\t"), "0.0", "12.0");
        row("blank text as it is", QString("   "), "0.00", "   ");
        row("number with unit as it is", QString("12.5kg"), "0.00", "12.5kg");
    }
    void format()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        if (value.typeId() == QMetaType::QString)
            QCOMPARE(kelmon::format(value.toString(), pattern), expected);
        else
            QCOMPARE(kelmon::format(value.toDouble(), pattern), expected);
    }

    void plainNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << 40.0 << "40";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.3";
        QTest::newRow("two thirds") << 2.0 / 3 << "0.666666666666667";
        QTest::newRow("16 digits") << 1e15 << "1E+15";
        QTest::newRow("18 digits") << 123456789012345678.0 << "1.23456789012346E+17";
        QTest::newRow("tiny") << 1e-7 << "1E-07";
    }
    void plainNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(kelmon::plainNumber(value), expected);
    }
};

QTEST_APPLESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
