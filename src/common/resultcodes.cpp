#include "common/resultcodes.h"

#include "common/textforms.h"

#include <iterator>

namespace modkelmon {

namespace {

struct ResultRow {
    int number;                 // numeric code, 0 for a letter code of run histories only
    const char16_t *text;       // the code as it stands in a run history
    const char16_t *words;
    const char16_t *cell;       // nullptr where the cell form does not apply
    const char16_t *letter;
    const char16_t *shortLetter;
};

constexpr ResultRow resultTable[] = {
    {1,  u"01", u"１着",    u"①　　", u"1", u"1"},
    {2,  u"02", u"２着",    u"②　　", u"2", u"2"},
    {3,  u"03", u"３着",    u"③　　", u"3", u"3"},
    {4,  u"04", u"４着",    u"④　　", u"4", u"4"},
    {5,  u"05", u"５着",    u"⑤　　", u"5", u"5"},
    {6,  u"06", u"６着",    u"⑥　　", u"6", u"6"},
    {7,  u"07", u"転覆 外", u"転　外", u"S", u""},
    {8,  u"08", u"落水 外", u"落　外", u"S", u""},
    {9,  u"09", u"エン 外", u"エ　外", u"S", u""},
    {10, u"10", u"不完 外", u"不　外", u"S", u""},
    {11, u"11", u"失格 外", u"失　外", u"S", u""},
    {12, u"12", u"Ｆ",      u"Ｆ　　", u"F", u""},
    {13, u"13", u"Ｌ 外",   u"Ｌ　外", u"L", u""},
    {14, u"14", u"欠場 外", u"欠　外", u"K", u""},
    {15, u"15", u"返欠 外", u"返　外", u"K", u""},
    {16, u"16", u"反則",    u"反　　", u"S", u""},
    {17, u"17", u"沈没 外", u"沈　外", u"S", u""},
    {57, u"57", u"転覆 責", u"転　責", u"S", u""},
    {58, u"58", u"落水 責", u"落　責", u"S", u""},
    {59, u"59", u"エン 責", u"エ　責", u"S", u""},
    {60, u"60", u"不完 責", u"不　責", u"S", u""},
    {61, u"61", u"失格 責", u"失　責", u"S", u""},
    {62, u"62", u"Ｆ",      u"Ｆ　　", u"F", u""},
    {63, u"63", u"Ｌ 責",   u"Ｌ　責", u"L", u""},
    {64, u"64", u"欠場 責", u"欠　責", u"K", u""},
    {65, u"65", u"返欠 責", u"返　責", u"K", u""},
    {66, u"66", u"反則",    u"反　　", u"S", u""},
    {67, u"67", u"沈没 責", u"沈　責", u"S", u""},
    {0,  u"F",  u"Ｆ",      nullptr,   u"F", u"F"},
    {0,  u"L0", u"Ｌ 外",   nullptr,   u"L", u"L"},
    {0,  u"L1", u"Ｌ 責",   nullptr,   u"L", u"L"},
    {0,  u"K0", u"欠場 外", nullptr,   u"K", u"K"},
    {0,  u"K1", u"欠場 責", nullptr,   u"K", u"K"},
    {0,  u"S0", u"失格 外", nullptr,   u"S", u"S"},
    {0,  u"S1", u"失格 責", nullptr,   u"S", u"S"},
    {0,  u"S2", u"反則",    nullptr,   u"S", u"S"},
};

constexpr char16_t emptyCell[] = u"　　　";

const ResultRow *findNumber(int code)
{
    if (code == 0)
        return nullptr;
    for (const ResultRow &row : resultTable) {
        if (row.number == code)
            return &row;
    }
    return nullptr;
}

const ResultRow *findText(QStringView code)
{
    const QString trimmed = kelmon::trimBlanks(code);
    if (trimmed.isEmpty())
        return nullptr;
    for (const ResultRow &row : resultTable) {
        if (trimmed == QStringView(row.text))
            return &row;
    }
    return nullptr;
}

struct ClassColor {
    int digit;
    quint32 rgb;
};

constexpr ClassColor classColors[] = {
    {1, 0xFFFFFF}, {2, 0xFFC0C0}, {3, 0xC0C0FF}, {4, 0xE0E0E0}, {5, 0xC0FFC0},
};

} // namespace

QString result_code(int code)
{
    const ResultRow *row = findNumber(code);
    return row ? QString::fromUtf16(row->words) : QString();
}

QString result_code(QStringView code)
{
    const ResultRow *row = findText(code);
    return row ? QString::fromUtf16(row->words) : QString();
}

QString result_cell(int code)
{
    const ResultRow *row = findNumber(code);
    return QString::fromUtf16(row && row->cell ? row->cell : emptyCell);
}

QString result_letter(QStringView code)
{
    const ResultRow *row = findText(code);
    return row ? QString::fromUtf16(row->letter) : QString();
}

QString result_short_letter(QStringView code)
{
    const ResultRow *row = findText(code);
    return row ? QString::fromUtf16(row->shortLetter) : QString();
}

QList<seiseki_unit> seiseki_units(QStringView history)
{
    QList<seiseki_unit> units;
    const QString text = kelmon::trimBlanks(history);
    // Whole units plus a trailing fragment of two characters; a fragment of
    // one character is no unit.
    const qsizetype count = (text.size() + 1) / 3;
    for (qsizetype k = 0; k < count; ++k) {
        const QString digit = text.mid(3 * k, 1);
        if (!(kelmon::val(digit) > 0))
            continue;
        units.append({digit, kelmon::trimBlanks(QStringView(text).sliced(3 * k + 1).first(
                                 qMin<qsizetype>(2, text.size() - 3 * k - 1)))});
    }
    return units;
}

QString seiseki_letters(QStringView history, LetterForm form)
{
    QString letters;
    for (const seiseki_unit &unit : seiseki_units(history))
        letters += form == LetterForm::Letter ? result_letter(unit.code) : result_short_letter(unit.code);
    return letters;
}

std::pair<QString, QString> history_rows(const QString &letters, int oneRowMax)
{
    if (letters.size() > oneRowMax)
        return {letters.left(8), letters.mid(8)};
    return {letters, QString()};
}

std::optional<quint32> seiseki_class_color(int classDigit)
{
    for (const ClassColor &c : classColors) {
        if (c.digit == classDigit)
            return c.rgb;
    }
    return std::nullopt;
}

} // namespace modkelmon
