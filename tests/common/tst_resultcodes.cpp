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
    void numericAndTextAgree();
    void histories_data();
    void histories();
    void units();
    void historyRows_data();
    void historyRows();
    void classColors();
};

void TestResultCodes::numericCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("cell");
    struct Case { int code; const char16_t *words; const char16_t *cell; };
    const Case cases[] = {
        {1, u"１着", u"①　　"}, {6, u"６着", u"⑥　　"},
        {7, u"転覆 外", u"転　外"}, {9, u"エン 外", u"エ　外"}, {11, u"失格 外", u"失　外"},
        {12, u"Ｆ", u"Ｆ　　"}, {13, u"Ｌ 外", u"Ｌ　外"}, {15, u"返欠 外", u"返　外"},
        {16, u"反則", u"反　　"}, {17, u"沈没 外", u"沈　外"},
        {57, u"転覆 責", u"転　責"}, {62, u"Ｆ", u"Ｆ　　"}, {63, u"Ｌ 責", u"Ｌ　責"},
        {64, u"欠場 責", u"欠　責"}, {66, u"反則", u"反　　"}, {67, u"沈没 責", u"沈　責"},
        // Outside the table: no words, three ideographic blanks.
        {0, u"", u"　　　"}, {18, u"", u"　　　"}, {56, u"", u"　　　"}, {68, u"", u"　　　"},
        {-1, u"", u"　　　"}, {32767, u"", u"　　　"},
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
    QCOMPARE(result_cell(code).size(), 3);
}

void TestResultCodes::textCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("shortLetter");
    struct Case { const char *name; const char16_t *code, *words, *letter, *shortLetter; };
    const Case cases[] = {
        {"place", u"01", u"１着", u"1", u"1"},
        {"place 6", u"06", u"６着", u"6", u"6"},
        {"accident", u"07", u"転覆 外", u"S", u""},
        {"flying", u"12", u"Ｆ", u"F", u""},
        {"late", u"63", u"Ｌ 責", u"L", u""},
        {"absent", u"15", u"返欠 外", u"K", u""},
        {"letter F", u"F", u"Ｆ", u"F", u"F"},
        {"letter F after blank", u" F", u"Ｆ", u"F", u"F"},
        {"letter F before blank", u"F ", u"Ｆ", u"F", u"F"},
        {"L0", u"L0", u"Ｌ 外", u"L", u"L"},
        {"L1", u"L1", u"Ｌ 責", u"L", u"L"},
        {"K0", u"K0", u"欠場 外", u"K", u"K"},
        {"K1", u"K1", u"欠場 責", u"K", u"K"},
        {"S0", u"S0", u"失格 外", u"S", u"S"},
        {"S1", u"S1", u"失格 責", u"S", u"S"},
        {"S2", u"S2", u"反則", u"S", u"S"},
        {"place without zero", u"1", u"", u"", u""},
        {"accident without zero", u"7", u"", u"", u""},
        {"lower case", u"f", u"", u"", u""},
        {"not a code", u"18", u"", u"", u""},
        {"zero", u"00", u"", u"", u""},
        {"blank", u"  ", u"", u"", u""},
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

void TestResultCodes::numericAndTextAgree()
{
    // The two-digit text of every numeric code has the same words.
    for (int code = 0; code <= 99; ++code) {
        const QString text = QStringLiteral("%1").arg(code, 2, 10, QChar(u'0'));
        QCOMPARE(result_code(QStringView(text)), result_code(code));
    }
}

void TestResultCodes::histories_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("shortLetters");
    QTest::newRow("places and F") << "1012021F " << "12F" << "12F";
    QTest::newRow("empty slot first") << "0012021F " << "2F" << "2F";
    QTest::newRow("letter codes") << "1S21K0" << "SK" << "SK";
    QTest::newRow("numeric accidents") << "107158" << "SS" << "";
    QTest::newRow("one-character fragment ignored") << "1011" << "1" << "1";
    QTest::newRow("two-character fragment F") << "1011F" << "1F" << "1F";
    QTest::newRow("two-character fragment digit") << "10110" << "1" << "1";
    QTest::newRow("blank slot") << "101 02" << "1" << "1";
    QTest::newRow("letter slot") << "A01301" << "1" << "1";
    QTest::newRow("code of one digit") << "1 1301" << "1" << "1";
    QTest::newRow("blank inside code") << "1 F" << "F" << "F";
    QTest::newRow("leading blanks trimmed") << QString::fromUtf16(u"　 101") << "1" << "1";
    QTest::newRow("ideographic slot") << QString::fromUtf16(u"101　01") << "1" << "1";
    QTest::newRow("blank history") << "     " << "" << "";
    QTest::newRow("empty history") << "" << "" << "";
    QTest::newRow("single character") << "1" << "" << "";
    QTest::newRow("unknown code") << "199" << "" << "";
    QTest::newRow("class digits 2 to 9") << "206357912" << "6SF" << "6";
}

void TestResultCodes::histories()
{
    QFETCH(QString, history);
    QFETCH(QString, letters);
    QFETCH(QString, shortLetters);
    QCOMPARE(seiseki_letters(history, LetterForm::Letter), letters);
    QCOMPARE(seiseki_letters(history, LetterForm::ShortLetter), shortLetters);
}

void TestResultCodes::units()
{
    const QList<seiseki_unit> units = seiseki_units(u"3F 0011571S");
    QCOMPARE(units.size(), 3);
    QCOMPARE(units[0].classDigit, QStringLiteral("3"));
    QCOMPARE(units[0].code, QStringLiteral("F"));
    QCOMPARE(units[1].classDigit, QStringLiteral("1"));
    QCOMPARE(units[1].code, QStringLiteral("57"));
    QCOMPARE(units[2].code, QStringLiteral("S"));
}

void TestResultCodes::historyRows_data()
{
    QTest::addColumn<int>("letterCount");
    QTest::addColumn<int>("oneRowMax");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("secondRow");
    QTest::newRow("27 letters, boat rule") << 27 << 8 << 8 << 19;
    QTest::newRow("27 letters, motor rule") << 27 << 13 << 8 << 19;
    QTest::newRow("8 letters stay in one row") << 8 << 8 << 8 << 0;
    QTest::newRow("9 letters") << 9 << 8 << 8 << 1;
    QTest::newRow("13 letters stay in one row") << 13 << 13 << 13 << 0;
    QTest::newRow("14 letters") << 14 << 13 << 8 << 6;
    QTest::newRow("none") << 0 << 8 << 0 << 0;
}

void TestResultCodes::historyRows()
{
    QFETCH(int, letterCount);
    QFETCH(int, oneRowMax);
    QFETCH(int, firstRow);
    QFETCH(int, secondRow);
    QString history;
    for (int i = 0; i < letterCount; ++i)
        history += QStringLiteral("1%1").arg(i % 6 + 1, 2, 10, QChar(u'0'));
    const QString letters = seiseki_letters(history, LetterForm::Letter);
    QCOMPARE(letters.size(), letterCount);
    const auto [first, second] = history_rows(letters, oneRowMax);
    QCOMPARE(first.size(), firstRow);
    QCOMPARE(second.size(), secondRow);
    QCOMPARE(first + second, letters);
}

void TestResultCodes::classColors()
{
    QCOMPARE(seiseki_class_color(1), std::optional<quint32>(0xFFFFFF));
    QCOMPARE(seiseki_class_color(2), std::optional<quint32>(0xFFC0C0));
    QCOMPARE(seiseki_class_color(3), std::optional<quint32>(0xC0C0FF));
    QCOMPARE(seiseki_class_color(4), std::optional<quint32>(0xE0E0E0));
    QCOMPARE(seiseki_class_color(5), std::optional<quint32>(0xC0FFC0));
    QVERIFY(!seiseki_class_color(0));
    QVERIFY(!seiseki_class_color(6));
}

QTEST_APPLESS_MAIN(TestResultCodes)
#include "tst_resultcodes.moc"
