#include "registration/gaiji.h"

#include "common/textforms.h"

#include <array>
#include <iterator>

namespace kelmon {

namespace {

// Runs of consecutive private-use code points and their display texts.
struct GaijiRun {
    char16_t first;
    std::initializer_list<const char16_t *> texts;
};

const GaijiRun gaijiRuns[] = {
    {0xE000, {u"①", u"②", u"③", u"④", u"⑤", u"⑥"}},
    {0xE006, {u"転覆", u"落水", u"失格", u"欠場", u"Ｆ", u"Ｌ"}},
    {0xE00C, {u"\uFF0D", u"⇔", u"→", u"⇔", u"⇔", u"⇔", u"返還", u"AB"}},
    {0xE01A, {u"転覆", u"落水", u"失格", u"欠場", u"Ｆ", u"Ｌ"}},
    {0xE020, {u"\u2026", u"\uFF0D", u"\uFF0D", u"A1", u"A2", u"A3", u"B1", u"B2"}},
    {0xE028, {u"①", u"②", u"③", u"④", u"⑤", u"⑥"}},
    {0xE02E, {u"転覆", u"落水", u"失格", u"欠場", u"Ｆ", u"Ｌ"}},
    {0xE034, {u"優勝", u"優出", u"優勝", u"優出"}},
    {0xE03C, {u"1ｺｰｽ", u"2ｺｰｽ", u"3ｺｰｽ", u"4ｺｰｽ", u"5ｺｰｽ", u"6ｺｰｽ", u"崎", u"迫", u"柳"}},
    {0xE046, {u"1号艇", u"2号艇", u"3号艇", u"4号艇", u"5号艇", u"6号艇",
              u"失格", u"欠場", u"Ｆ", u"Ｌ",
              u"1号艇", u"2号艇", u"3号艇", u"4号艇", u"5号艇", u"6号艇"}},
    {0xE064, {u"1ﾚｰｽ", u"2ﾚｰｽ", u"3ﾚｰｽ", u"4ﾚｰｽ", u"5ﾚｰｽ", u"6ﾚｰｽ",
              u"7ﾚｰｽ", u"8ﾚｰｽ", u"9ﾚｰｽ", u"10ﾚｰｽ", u"11ﾚｰｽ", u"12ﾚｰｽ",
              u"Ｆ", u"Ｌ", u"１", u"２", u"３", u"F1", u"L1", u"F2",
              u"①", u"②", u"③", u"④", u"⑤", u"⑥", u"失格", u"欠場", u"Ｆ", u"Ｌ",
              u"①", u"②", u"③", u"④", u"⑤", u"⑥", u"失格", u"欠場", u"Ｆ", u"Ｌ",
              u"F3", u"L2", u"L3"}},
    {0xE095, {u"00", u"01", u"02", u"03", u"04", u"05", u"06", u"07", u"08", u"09"}},
    {0xE0BD, {u"F1", u"F2", u"L1", u"L2"}},
};

constexpr char16_t tableFirst = 0xE000;
constexpr char16_t tableLast = 0xE0C0;
constexpr std::size_t tableSize = tableLast - tableFirst + 1;

// Direct lookup by code point offset, built once from the runs.
const std::array<const char16_t *, tableSize> &lookup()
{
    static const auto table = [] {
        std::array<const char16_t *, tableSize> t{};
        for (const GaijiRun &run : gaijiRuns) {
            std::size_t at = run.first - tableFirst;
            for (const char16_t *text : run.texts)
                t[at++] = text;
        }
        return t;
    }();
    return table;
}

} // namespace

QString gaijiText(char32_t codePoint)
{
    if (codePoint < tableFirst || codePoint > tableLast)
        return {};
    const char16_t *text = lookup()[codePoint - tableFirst];
    return text ? QString::fromUtf16(text) : QString();
}

QString conv_gaiji(QStringView text)
{
    const QString kept = trimTrailingBlanks(text);
    const auto &table = lookup();
    QString result;
    result.reserve(kept.size() + 8);
    for (QChar c : kept) {
        const char16_t u = c.unicode();
        const char16_t *expanded = (u >= tableFirst && u <= tableLast) ? table[u - tableFirst] : nullptr;
        if (expanded)
            result.append(QString::fromUtf16(expanded));
        else
            result.append(c);
    }
    return result;
}

} // namespace kelmon
