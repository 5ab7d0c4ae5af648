// Code-to-name tables with their fillers, and the shown forms of stored dates.

#include "common/codetables.h"

#include <QtTest>
#include <map>

using namespace modkelmon;

namespace {

using Lookup = QString (*)(int);

const std::map<QString, Lookup> &lookups()
{
    static const std::map<QString, Lookup> table = {
        {"kyoso", get_kyoso_name}, {"grade", get_grade_name}, {"pref", get_pref_name},
        {"kind", get_kind_name},   {"sinyu", get_sinyu_name}, {"blood", get_blood_name},
        {"mark", get_mark_name},   {"color", get_color_name}, {"circle", get_circle_number},
    };
    return table;
}

QString u16(const char16_t *s) { return QString::fromUtf16(s); }

} // namespace

class TestCodeTables : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void venueNamesComplete();
    void venueWithoutBlanks_data();
    void venueWithoutBlanks();
    void dates_data();
    void dates();
    void dayAndRaceTexts();
};

void TestCodeTables::names_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    struct Case { const char *table; int code; const char16_t *expected; };
    const Case cases[] = {
        {"kyoso", 1, u"桐　生"}, {"kyoso", 3, u"江戸川"}, {"kyoso", 9, u"津"},
        {"kyoso", 12, u"住之江"}, {"kyoso", 24, u"大　村"},
        {"kyoso", 0, u""}, {"kyoso", 25, u""}, {"kyoso", -1, u""}, {"kyoso", 32767, u""},
        {"grade", 1, u"一般"}, {"grade", 2, u"ＧⅢ"}, {"grade", 3, u"ＧⅡ"}, {"grade", 4, u"ＧⅠ"},
        {"grade", 5, u"ＳＧ"}, {"grade", 0, u""}, {"grade", 6, u""},
        {"pref", 1, u"北海"}, {"pref", 13, u"東京"}, {"pref", 14, u"神奈"}, {"pref", 30, u"和歌"},
        {"pref", 46, u"鹿児"}, {"pref", 47, u"沖縄"}, {"pref", 0, u"　　"}, {"pref", 48, u"　　"},
        {"kind", 1, u"全国"}, {"kind", 10, u"ＤＲ"}, {"kind", 14, u"優勝"},
        {"kind", 0, u"　　"}, {"kind", 15, u"　　"},
        {"sinyu", 1, u"　内"}, {"sinyu", 4, u"　全"}, {"sinyu", 5, u"内中"}, {"sinyu", 6, u"中外"},
        {"sinyu", 0, u"　　"}, {"sinyu", 7, u"　　"},
        {"blood", 1, u"Ａ"}, {"blood", 3, u"Ｏ"}, {"blood", 4, u"AB"},
        {"blood", 0, u"  "}, {"blood", 5, u"  "},
        {"mark", 1, u"◎"}, {"mark", 3, u"×"}, {"mark", 6, u"\u2026"},
        {"mark", 0, u""}, {"mark", 7, u""},
        {"color", 1, u"白"}, {"color", 2, u"黒"}, {"color", 6, u"緑"},
        {"color", 0, u"　"}, {"color", 7, u"　"},
        {"circle", 1, u"①"}, {"circle", 6, u"⑥"}, {"circle", 0, u"○"}, {"circle", 7, u"○"},
    };
    for (const Case &c : cases) {
        QTest::addRow("%s %d", c.table, c.code) << QString::fromLatin1(c.table) << c.code << u16(c.expected);
    }
}

void TestCodeTables::names()
{
    QFETCH(QString, table);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(lookups().at(table)(code), expected);
}

void TestCodeTables::venueNamesComplete()
{
    // Every venue has a name; the ones of two characters carry one ideographic
    // blank in the middle, so that all but the single-character name are three wide.
    for (int code = 1; code <= kVenueCount; ++code) {
        const QString name = get_kyoso_name(code);
        QVERIFY2(name.size() == (code == 9 ? 1 : 3), qPrintable(name));
    }
}

void TestCodeTables::venueWithoutBlanks_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two characters") << 1 << u16(u"桐生");
    QTest::newRow("three characters") << 3 << u16(u"江戸川");
    QTest::newRow("one character") << 9 << u16(u"津");
    QTest::newRow("none") << 0 << QString();
}

void TestCodeTables::venueWithoutBlanks()
{
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(venueNameWithoutBlanks(code), expected);
}

void TestCodeTables::dates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shortForm");
    QTest::addColumn<QString>("weekday");
    QTest::newRow("christmas 2001") << "20011225" << "01/12/25" << u16(u"（火）");
    QTest::newRow("leap day") << "20000229" << "00/02/29" << u16(u"（火）");
    QTest::newRow("sunday") << "20011230" << "01/12/30" << u16(u"（日）");
    QTest::newRow("last century") << "19991231" << "99/12/31" << u16(u"（金）");
    QTest::newRow("no date") << "00000000" << "00/00/00" << "";
    QTest::newRow("impossible day") << "20010230" << "01/02/30" << "";
    QTest::newRow("not digits") << "2001122a" << "01/12/2a" << "";
    QTest::newRow("six characters") << "200112" << "01/12/" << "";
    QTest::newRow("three characters") << "200" << "0//" << "";
    QTest::newRow("empty") << "" << "//" << "";
    QTest::newRow("longer") << "2001122501" << "01/12/25" << "";
}

void TestCodeTables::dates()
{
    QFETCH(QString, stored);
    QFETCH(QString, shortForm);
    QFETCH(QString, weekday);
    QCOMPARE(shortDate(stored), shortForm);
    QCOMPARE(weekdayText(stored), weekday);
}

void TestCodeTables::dayAndRaceTexts()
{
    QCOMPARE(dayOfMeetingText(3), u16(u"3日目"));
    QCOMPARE(raceCaptionText(1), QStringLiteral(" 1R"));
    QCOMPARE(raceCaptionText(12), QStringLiteral("12R"));
}

QTEST_APPLESS_MAIN(TestCodeTables)
#include "tst_codetables.moc"
