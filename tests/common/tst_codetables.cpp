// Code-to-name tables with their fillers, and the shown forms of stored dates.

#include "common/codetables.h"
#include "common/textforms.h"
#include "common/timeforms.h"

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
    void textForms_data();
    void textForms();
};

void TestCodeTables::names_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    // Every name of each table in code order, and its filler on both sides.
    struct Case { const char *table; const char16_t *names, *filler; };
    const Case cases[] = {
        {"kyoso", u"桐　生|戸　田|江戸川|平和島|多摩川|浜名湖|蒲　郡|常　滑|津|三　国|琵琶湖|住之江|"
                  u"尼　崎|鳴　門|丸　亀|児　島|宮　島|徳　山|下　関|若　松|芦　屋|福　岡|唐　津|大　村", u""},
        {"grade", u"一般|Ｇ\u2162|Ｇ\u2161|Ｇ\u2160|ＳＧ", u""},
        {"pref", u"北海|青森|岩手|宮城|秋田|山形|福島|茨城|栃木|群馬|埼玉|千葉|東京|神奈|新潟|富山|石川|"
                 u"福井|山梨|長野|岐阜|静岡|愛知|三重|滋賀|京都|大阪|兵庫|奈良|和歌|鳥取|島根|岡山|広島|"
                 u"山口|徳島|香川|愛媛|高知|福岡|佐賀|長崎|熊本|大分|宮崎|鹿児|沖縄", u"　　"},
        {"kind", u"全国|最近|今期|当地|記念|新鋭|女子|進固|初日|ＤＲ|準優|選抜|最終|優勝", u"　　"},
        {"sinyu", u"　内|　中|　外|　全|内中|中外", u"　　"},
        {"blood", u"Ａ|Ｂ|Ｏ|AB", u"  "},
        {"mark", u"◎|○|×|△|注|\u2026", u""},
        {"color", u"白|黒|赤|青|黄|緑", u"　"},
        {"circle", u"①|②|③|④|⑤|⑥", u"○"},
    };
    for (const Case &c : cases) {
        const QString t = QString::fromLatin1(c.table);
        const QString filler = QString::fromUtf16(c.filler);
        const QStringList names = QString::fromUtf16(c.names).split(u'|');
        for (int code = 1; code <= names.size(); ++code)
            QTest::addRow("%s %d", c.table, code) << t << code << names[code - 1];
        QTest::addRow("%s zero", c.table) << t << 0 << filler;
        QTest::addRow("%s above", c.table) << t << int(names.size()) + 1 << filler;
        QTest::addRow("%s negative", c.table) << t << -1 << filler;
    }
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

// Race times (minutes, seconds, tenths), deadlines and blank trimming.
void TestCodeTables::textForms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("race time") << "race" << "1496" << "1.49.6";
    QTest::newRow("race time under a minute") << "race" << "958" << "0.95.8";
    QTest::newRow("no race time") << "race" << "0" << "";
    QTest::newRow("negative race time") << "race" << "-5" << "";
    QTest::newRow("deadline") << "hhmm" << " 1532 " << "15時32分";
    QTest::newRow("no deadline") << "hhmm" << "   " << "";
    QTest::newRow("trim both sides") << "trim" << "  a b " << "a b";
    QTest::newRow("trim only blanks") << "trim" << "   " << "";
    QTest::newRow("trim one blank") << "trim" << " " << "";
}

void TestCodeTables::textForms()
{
    QFETCH(QString, form);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    if (form == "race")
        QCOMPARE(race_time(input.toDouble()), expected);
    else if (form == "hhmm")
        QCOMPARE(hhmm_time(input), expected);
    else
        QCOMPARE(kelmon::trimBlanks(input), expected);
}

#include "tst_codetables.moc"
