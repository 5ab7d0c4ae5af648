// Result codes in their words, cell and letter forms, and the walking of
// run-history strings.

#include "common/resultcodes.h"

#include <QtTest>

using namespace modkelmon;

namespace {
QString u16(const char16_t *s) { return QString::fromUtf16(s); }
}

class TestResultCodes : public QObject {
    Q_OBJECT
private slots:
    void numericCode_data();
    void numericCode();
    void textCode_data();
    void textCode();
    void histories_data();
    void histories();
};

void TestResultCodes::numericCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("cell");
    struct Case { int code; const char16_t *words; const char16_t *cell; };
    const Case cases[] = {
        {1, u"１着", u"①　　"}, {7, u"転覆 外", u"転　外"}, {12, u"Ｆ", u"Ｆ　　"},
        {16, u"反則", u"反　　"}, {67, u"沈没 責", u"沈　責"},
        // Outside the table: no words, three ideographic blanks.
        {0, u"", u"　　　"}, {18, u"", u"　　　"}, {56, u"", u"　　　"}, {68, u"", u"　　　"},
       
    };
    for (const Case &c : cases)
        QTest::addRow("%d", c.code) << c.code << u16(c.words) << u16(c.cell);
}

void TestResultCodes::numericCode()
{
    QFETCH(int, code);
    QFETCH(QString, words);
    QFETCH(QString, cell);
    QCOMPARE(result_code(code), words);
    QCOMPARE(result_cell(code), cell);
}

void TestResultCodes::textCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("shortLetter");
    struct Case { const char *name; const char16_t *code, *words, *letter, *shortLetter; };
    const Case cases[] = {
        {"place", u"06", u"６着", u"6", u"6"},
        {"accident", u"07", u"転覆 外", u"S", u""},
        {"late", u"63", u"Ｌ 責", u"L", u""},
        {"letter F with blank", u" F", u"Ｆ", u"F", u"F"},
        {"L1", u"L1", u"Ｌ 責", u"L", u"L"},
        {"S2", u"S2", u"反則", u"S", u"S"},
        {"place without zero", u"1", u"", u"", u""},
        {"lower case", u"f", u"", u"", u""},
        {"empty", u"", u"", u"", u""},
    };
    for (const Case &c : cases)
        QTest::newRow(c.name) << u16(c.code) << u16(c.words) << u16(c.letter) << u16(c.shortLetter);
}

void TestResultCodes::textCode()
{
    QFETCH(QString, code);
    QFETCH(QString, words);
    QFETCH(QString, letter);
    QFETCH(QString, shortLetter);
    QCOMPARE(result_code(QStringView(code)), words);
    QCOMPARE(result_letter(code), letter);
    QCOMPARE(result_short_letter(code), shortLetter);
}

void TestResultCodes::histories_data()
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

void TestResultCodes::histories()
{
    QFETCH(QString, history);
    QFETCH(QString, letters);
    QFETCH(QString, shortLetters);
    QCOMPARE(seiseki_letters(history, LetterForm::Letter), letters);
    QCOMPARE(seiseki_letters(history, LetterForm::ShortLetter), shortLetters);
}

QTEST_APPLESS_MAIN(TestResultCodes)
#include "tst_resultcodes.moc"
