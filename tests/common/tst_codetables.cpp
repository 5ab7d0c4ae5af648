// Code-to-name tables with their fillers, the shown forms of stored dates and
// times, and result codes with the walking of run-history strings.

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/resultcodes.h"
#include "common/textforms.h"
#include "common/timeforms.h"

#include <QtTest>
#include <map>

using namespace modkelmon;

static QString u16(const char16_t *s) { return QString::fromUtf16(s); }

class TestCodeTables : public QObject {
    Q_OBJECT
private slots:
    void names_data()
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
    void names()
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

    void dates_data()
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
    void dates()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shortForm);
        QFETCH(QString, weekday);
        QCOMPARE(shortDate(stored), shortForm);
        QCOMPARE(weekdayText(stored), weekday);
    }

    // The tints as the paper's colour table writes them (&HBBGGRR), swapped here
    // to RGB; frames outside 1..6 have none.
    void frameTints()
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
    }

    // Race times (minutes, seconds, tenths), deadlines and blank trimming.
    void textForms_data()
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
        QTest::newRow("every blank removed") << "del" << u16(u" 桐　生 1\u3000") << u16(u"桐生1");
    }
    void textForms()
    {
        QFETCH(QString, form);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        if (form == "race")
            QCOMPARE(race_time(input.toDouble()), expected);
        else if (form == "hhmm")
            QCOMPARE(hhmm_time(input), expected);
        else if (form == "del")
            QCOMPARE(del_space(input), expected);
        else
            QCOMPARE(kelmon::trimBlanks(input), expected);
    }

    // A code by its number (words and cell form) and as it stands in a run
    // history (words and letter forms); codes without a cell are letter
    // codes of run histories, or no code at all.
    void resultCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("forms");   // words, cell, letter, short letter
        const char16_t *const cases[][5] = {
            {u"01", u"１着", u"①　　", u"1", u"1"},     {u"06", u"６着", u"⑥　　", u"6", u"6"},
            {u"07", u"転覆 外", u"転　外", u"S", u""},  {u"12", u"Ｆ", u"Ｆ　　", u"F", u""},
            {u"16", u"反則", u"反　　", u"S", u""},     {u"63", u"Ｌ 責", u"Ｌ　責", u"L", u""},
            {u"64", u"欠場 責", u"欠　責", u"K", u""},  {u"67", u"沈没 責", u"沈　責", u"S", u""},
            {u"00", u"", u"　　　", u"", u""},           {u"18", u"", u"　　　", u"", u""},
            {u"56", u"", u"　　　", u"", u""},           {u"68", u"", u"　　　", u"", u""},
            {u" F", u"Ｆ", nullptr, u"F", u"F"},         {u"L1", u"Ｌ 責", nullptr, u"L", u"L"},
            {u"K0", u"欠場 外", nullptr, u"K", u"K"},    {u"S2", u"反則", nullptr, u"S", u"S"},
            {u"1", u"", nullptr, u"", u""},              {u"f", u"", nullptr, u"", u""},
            {u"", u"", nullptr, u"", u""},
        };
        for (const auto &c : cases)
            QTest::addRow("'%s'", qPrintable(u16(c[0])))
                << u16(c[0]) << QStringList{u16(c[1]), c[2] ? u16(c[2]) : QString(), u16(c[3]), u16(c[4])};
    }
    void resultCodes()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, forms);
        QCOMPARE(QStringList({result_code(QStringView(code)), result_letter(code), result_short_letter(code)}),
                 QStringList({forms[0], forms[2], forms[3]}));
        if (!forms[1].isNull())
            QCOMPARE(QStringList({result_code(code.toInt()), result_cell(code.toInt())}), forms.mid(0, 2));
    }

    void histories_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("shortLetters");
        QTest::newRow("places and F") << "1012021F " << "12F" << "12F";
        QTest::newRow("numeric accidents") << "107158" << "SS" << "";
        QTest::newRow("one-character fragment ignored") << "1011" << "1" << "1";
        QTest::newRow("two-character fragment F") << "1011F" << "1F" << "1F";
        QTest::newRow("leading blanks trimmed") << u16(u"　 101") << "1" << "1";
        QTest::newRow("ideographic slot") << u16(u"101　01") << "1" << "1";
        QTest::newRow("empty history") << "" << "" << "";
        QTest::newRow("unknown code") << "199" << "" << "";
    }
    void histories()
    {
        QFETCH(QString, history);
        QFETCH(QString, letters);
        QFETCH(QString, shortLetters);
        QCOMPARE(seiseki_letters(history, LetterForm::Letter), letters);
        QCOMPARE(seiseki_letters(history, LetterForm::ShortLetter), shortLetters);
    }

    void classColoursAndHistoryRows()
    {
        // The label colour of a previous run by its class digit; no colour
        // outside 1..5.
        const quint32 colours[] = {0xFFFFFF, 0xFFC0C0, 0xC0C0FF, 0xE0E0E0, 0xC0FFC0};
        for (int digit = 0; digit <= 6; ++digit)
            QCOMPARE(seiseki_class_color(digit),
                     digit >= 1 && digit <= 5 ? std::optional<quint32>(colours[digit - 1]) : std::nullopt);
        // Up to the block's maximum the letters stand in one row, beyond it the
        // first eight in the first row and the rest in the second.
        using Rows = std::pair<QString, QString>;
        QCOMPARE(history_rows("12345678", 8), Rows("12345678", ""));
        QCOMPARE(history_rows("123456789", 8), Rows("12345678", "9"));
        QCOMPARE(history_rows("1234567890123", 13), Rows("1234567890123", ""));
        QCOMPARE(history_rows("12345678901234", 13), Rows("12345678", "901234"));
    }
};

QTEST_APPLESS_MAIN(TestCodeTables)

#include "tst_codetables.moc"
