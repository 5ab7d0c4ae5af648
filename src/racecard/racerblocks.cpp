#include "racecard/racerblocks.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "racecard/blockhelpers.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

constexpr int kHeaderColor = 0;
constexpr int kRateColor = 7;
constexpr int kDataColor = 1;

const QString kPercent = QStringLiteral("％");

// Rows 0..3 of a header column: background and four texts.
void headerColumn(GridModel &grid, int col, const QString (&texts)[4])
{
    for (int r = 0; r < 4; ++r) {
        paintCell(grid, r, col, kHeaderColor);
        grid.setText(r, col, texts[r]);
    }
}

void paintData(GridModel &grid, int k, int col, int color)
{
    for (int r = 0; r < 4; ++r)
        paintCell(grid, boatRow(k) + r, col, color);
}

// A two-character period name with a half-width blank between its characters.
QString splitName(const QString &name)
{
    return name.left(1) + QLatin1Char(' ') + name.mid(1, 1);
}

QString periodName(int code)
{
    return modkelmon::get_kind_name(code);
}

QString percent(const BoatRow &row, const char *column)
{
    return row.plain(column) + kPercent;
}

// Three percentages in rows R+1..R+3, row R left empty under the title row.
void percentRows(GridModel &grid, const BoatRow &row, int k, int col,
                 const char *a, const char *b, const char *c)
{
    const int top = boatRow(k);
    putText(grid, top + 1, col, percent(row, a), Align::Right);
    putText(grid, top + 2, col, percent(row, b), Align::Right);
    putText(grid, top + 3, col, percent(row, c), Align::Right);
}

const QString kPlaceRates[3] = {QStringLiteral("1着率"), QStringLiteral("2着率"),
                                QStringLiteral("3着率")};

// Block 1: win rates of three periods and of the period of flag_ns.
void syorituHeader(GridModel &grid, const BoatRow &first, int col)
{
    grid.setColAlignment(col, GridAlign::CenterCenter);
    headerColumn(grid, col, {QStringLiteral("前々率"), QStringLiteral("前勝率"),
                             QStringLiteral("現勝率"),
                             periodName(first.code("flag_ns")) + QStringLiteral("率")});
}

void syorituData(GridModel &grid, const BoatRow &row, int k, int col)
{
    paintData(grid, k, col, kRateColor);
    const int top = boatRow(k);
    const double ns = row.num("syoritu_ns");
    const double ms = row.num("syoritu_ms");
    QString texts[4];
    if (ms == 0) {
        texts[0] = fmt_rate(row.text("classcode_2k"), row.num("syoritu_2k"));
        texts[1] = fmt_rate(row.text("classcode_1k"), row.num("syoritu_1k"));
        texts[2] = fmt_rate(row.text("classcode_ge"), row.num("syoritu_ge"));
        texts[3] = format(ns, u"0.00").rightJustified(7, QLatin1Char(' '));
    } else {
        texts[0] = QStringLiteral("や ") + format(ms, u"0.00");
        texts[1] = QStringLiteral("ま ") + row.plain("fukuritu_ms") + kPercent;
        texts[2] = QStringLiteral("と     ");
        texts[3] = QStringLiteral("\u3000") + format(ns, u"0.00").rightJustified(5, QLatin1Char(' '));
    }
    for (int r = 0; r < 4; ++r)
        putText(grid, top + r, col, texts[r], Align::Right);
}

// Block 2: two-place rates here, nationwide and in the period of flag_nf.
void fukurituHeader(GridModel &grid, const BoatRow &first, int col)
{
    grid.setColAlignment(col, GridAlign::CenterCenter);
    headerColumn(grid, col, {QStringLiteral("2連率"), QStringLiteral("当 地"), QStringLiteral("全 国"),
                             splitName(periodName(first.code("flag_nf")))});
}

void fukurituData(GridModel &grid, const BoatRow &row, int k, int col)
{
    paintData(grid, k, col, kDataColor);
    putText(grid, boatRow(k), col, row.plain("syuso_to_all") + QStringLiteral("回"), Align::Right);
    percentRows(grid, row, k, col, "fukuritu_to", "fukuritu_ge", "fukuritu_nf");
}

// Block 3: three-place rates, same scopes as block 2.
void fukuritu3Header(GridModel &grid, const BoatRow &first, int col)
{
    grid.setColAlignment(col, GridAlign::CenterCenter);
    headerColumn(grid, col, {QStringLiteral("3連率"), QStringLiteral("当 地"), QStringLiteral("全 国"),
                             splitName(periodName(first.code("flag_nf")))});
}

void fukuritu3Data(GridModel &grid, const BoatRow &row, int k, int col)
{
    paintData(grid, k, col, kDataColor);
    percentRows(grid, row, k, col, "fukuritu_to_3", "fukuritu_ge_3", "fukuritu_nf_3");
}

// Block 4: national finals, wins and place counts.
constexpr PlaceCountColumns kNationalCounts{
    "yusyu_zk", "yusyo_zk", {"syuso_zk_1", "syuso_zk_2", "syuso_zk_3"}, "syuso_zk_all"};

void syusoZkHeader(GridModel &grid, const BoatRow &, int col)
{
    placeCountHeader(grid, col, QStringLiteral("全国"));
}

void syusoZkData(GridModel &grid, const BoatRow &row, int k, int col)
{
    placeCountData(grid, row, k, col, kNationalCounts);
}

// Block 5: national place rates.
void syurtZkHeader(GridModel &grid, const BoatRow &, int col)
{
    grid.setColAlignment(col, GridAlign::CenterCenter);
    headerColumn(grid, col, {QStringLiteral("全 国"), kPlaceRates[0], kPlaceRates[1], kPlaceRates[2]});
}

void syurtZkData(GridModel &grid, const BoatRow &row, int k, int col)
{
    paintData(grid, k, col, kDataColor);
    percentRows(grid, row, k, col, "syurt_zk_1", "syurt_zk_2", "syurt_zk_3");
}

// Block 6: finals, wins and place counts in the period of flag_nd.
constexpr PlaceCountColumns kPeriodCounts{
    "yusyu_ny", "yusyo_ny", {"syuso_nd_1", "syuso_nd_2", "syuso_nd_3"}, "syuso_nd_all"};

void syusoNdHeader(GridModel &grid, const BoatRow &first, int col)
{
    placeCountHeader(grid, col, periodName(first.code("flag_nd")));
}

void syusoNdData(GridModel &grid, const BoatRow &row, int k, int col)
{
    placeCountData(grid, row, k, col, kPeriodCounts);
}

// Block 7: place rates in the period of flag_nd.
void syurtNdHeader(GridModel &grid, const BoatRow &first, int col)
{
    grid.setColAlignment(col, GridAlign::CenterCenter);
    headerColumn(grid, col, {splitName(periodName(first.code("flag_nd"))),
                             kPlaceRates[0], kPlaceRates[1], kPlaceRates[2]});
}

void syurtNdData(GridModel &grid, const BoatRow &row, int k, int col)
{
    paintData(grid, k, col, kDataColor);
    percentRows(grid, row, k, col, "syurt_nd_1", "syurt_nd_2", "syurt_nd_3");
}

constexpr int kRateWidths[] = {720, 10};
// A rate with its sign ("18.1％") takes 36 pixels in the Gothic drawn here.
constexpr int kNarrowWidths[] = {570, 10};
constexpr int kCountWidths[] = {460, 380, 10};

} // namespace

const BlockBuilder disp_col_syoritu{kRateWidths, syorituHeader, syorituData};
const BlockBuilder disp_col_fukuritu{kNarrowWidths, fukurituHeader, fukurituData};
const BlockBuilder disp_racer_fukuritu3{kNarrowWidths, fukuritu3Header, fukuritu3Data};
const BlockBuilder disp_col_syuso_zk{kCountWidths, syusoZkHeader, syusoZkData};
const BlockBuilder disp_col_syurt_zk{kNarrowWidths, syurtZkHeader, syurtZkData};
const BlockBuilder disp_col_syuso_nd{kCountWidths, syusoNdHeader, syusoNdData};
const BlockBuilder disp_col_syurt_nd{kNarrowWidths, syurtNdHeader, syurtNdData};

QString fmt_rate(const QString &prefix, double value)
{
    const QString code = trimBlanks(prefix);
    if (code.isEmpty())
        return QStringLiteral("－ － ");
    if (value == 0)
        return code + QStringLiteral("  － ");
    return code + QLatin1Char(' ') + format(value, u"0.00");
}

} // namespace kelmon::racecard
