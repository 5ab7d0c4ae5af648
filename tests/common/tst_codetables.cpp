// Code-to-name tables with their fillers, and the shown forms of stored dates.

#include "common/codetables.h"

#include <QtTest>
#include <map>

using namespace modkelmon;

class TestCodeTables : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void dates_data();
    void dates();
    void frameTints();
};

void TestCodeTables::names_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    // First and last code of each table, and its filler on both sides.
    struct Case { const char *table; int last; const char16_t *firstName, *lastName, *filler; };
    const Case cases[] = {
        {"kyoso", 24, u"桐　生", u"大　村", u""}, {"grade", 5, u"一般", u"ＳＧ", u""},
        {"pref", 47, u"北海", u"沖縄", u"　　"},   {"kind", 14, u"全国", u"優勝", u"　　"},
        {"sinyu", 6, u"　内", u"中外", u"　　"},   {"blood", 4, u"Ａ", u"AB", u"  "},
        {"mark", 6, u"◎", u"\u2026", u""},        {"color", 6, u"白", u"緑", u"　"},
        {"circle", 6, u"①", u"⑥", u"○"},
    };
    for (const Case &c : cases) {
        const QString t = QString::fromLatin1(c.table);
        const QString filler = QString::fromUtf16(c.filler);
        QTest::addRow("%s first", c.table) << t << 1 << QString::fromUtf16(c.firstName);
        QTest::addRow("%s last", c.table) << t << c.last << QString::fromUtf16(c.lastName);
        QTest::addRow("%s zero", c.table) << t << 0 << filler;
        QTest::addRow("%s above", c.table) << t << c.last + 1 << filler;
        QTest::addRow("%s negative", c.table) << t << -1 << filler;
    }
    QTest::newRow("kyoso one character") << "kyoso" << 9 << QString::fromUtf16(u"津");
}

void TestCodeTables::names()
{
    using Lookup = QString (*)(int);
    static const std::map<QString, Lookup> lookups = {
        {"kyoso", get_kyoso_name}, {"grade", get_grade_name}, {"pref", get_pref_name},
        {"kind", get_kind_name},   {"sinyu", get_sinyu_name}, {"blood", get_blood_name},
        {"mark", get_mark_name},   {"color", get_color_name}, {"circle", get_circle_number},
    };
    QFETCH(QString, table);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(lookups.at(table)(code), expected);
}

void TestCodeTables::dates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shortForm");
    QTest::addColumn<QString>("weekday");
    QTest::newRow("christmas 2001") << "20011225" << "01/12/25" << QString::fromUtf16(u"（火）");
    QTest::newRow("no date") << "00000000" << "00/00/00" << "";
    QTest::newRow("impossible day") << "20010230" << "01/02/30" << "";
    QTest::newRow("not digits") << "2001122a" << "01/12/2a" << "";
    QTest::newRow("three characters") << "200" << "0//" << "";
    QTest::newRow("empty") << "" << "//" << "";
}

void TestCodeTables::dates()
{
    QFETCH(QString, stored);
    QFETCH(QString, shortForm);
    QFETCH(QString, weekday);
    QCOMPARE(shortDate(stored), shortForm);
    QCOMPARE(weekdayText(stored), weekday);
}


// The tints as the paper's colour table writes them (&HBBGGRR), swapped here
// to RGB; frames outside 1..6 have none.
void TestCodeTables::frameTints()
{
    const quint32 bgr[8] = {0, 0xFFFFFF, 0xC0C0C0, 0xC0C0FF, 0xFFC0C0, 0xC0FFFF, 0xC0FFC0, 0};
    for (int frame = 0; frame <= 7; ++frame) {
        const auto tint = get_wakucolor(frame);
        QCOMPARE(tint.has_value(), frame >= 1 && frame <= 6);
        if (tint) {
            const quint32 b = bgr[frame];
            QCOMPARE(*tint & 0xFFFFFF, ((b & 0xFF) << 16) | (b & 0xFF00) | (b >> 16));
        }
    }
    QVERIFY(!get_wakucolor(-1));
}

QTEST_APPLESS_MAIN(TestCodeTables)
#include "tst_codetables.moc"
