#include "lists/dataroom.h"

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "lists/listcells.h"

#include <QSqlQuery>
#include <vector>

namespace kelmon::lists {

namespace {

const RankingKind kKinds[] = {
    {1, u"初日がけ ベスト１５", u"～初日に強い選手は誰？～", u"◇初日実績過去20戦の2連対率上位者 15名"},
    {2, kPointsTitle, u"～予選突破をめぐる得点争い～", u"◇予選得点率の上位から表示しています"},
    {3, u"準優がけ ベスト１２", u"～準優に強い選手は誰～", u"◇準優実績過去20戦の2連対率上位者 12名"},
    {4, u"準優がけ ベスト１５", u"～準優に強い選手は誰～", u"◇準優実績過去20戦の2連対率上位者 15名"},
    {5, u"最終日がけ ベスト１５", u"～最終日に強い選手は誰～", u"◇最終日実績過去20戦の2連対率上位者 15名"},
};

// One column of a two-row heading: width in twips, group heading (row 0) and
// column heading (row 1).
struct Heading {
    int width;
    const char16_t *top;
    const char16_t *bottom;
};

// A grid's heading: its columns and how many of the first columns merge
// their two rows when they hold the same text.
struct Layout {
    std::vector<Heading> columns;
    int mergeCols;
};

const Layout kPointsLayout = {{{840, u"選手名", u"選手名"},
                               {480, u"登番", u"登番"},
                               {580, u"順位", u"順位"},
                               {850, u"今節得点", u"今節得点"},
                               {850, u"出走回数", u"出走回数"},
                               {720, u"得点率", u"得点率"},
                               {460, u"本日出走", u"前半"},
                               {460, u"本日出走", u"後半"}},
                              6};

Layout bestLayout(bool semiFinal)
{
    return {{{840, u"選手名", u"選手名"},
             {480, u"登番", u"登番"},
             {360, u"1着", u"1着"},
             {360, u"2着", u"2着"},
             {360, u"3着", u"3着"},
             {460, u"着外", u"着外"},
             {740, u"2連対率", u"2連対率"},
             {740, u"3連対率", u"3連対率"},
             {460, u"本日出走", semiFinal ? u"R" : u"前半"},
             {460, u"本日出走", semiFinal ? u"枠" : u"後半"}},
            8};
}

const Layout kPlacesLayout = {{{840, u"選手名", u"選手名"},
                               {480, u"登番", u"登番"},
                               {510, u"着回数率(％)", u"1着"},
                               {510, u"着回数率(％)", u"2着"},
                               {510, u"着回数率(％)", u"3着"},
                               {500, u"着回数率(％)", u"4着"},
                               {500, u"着回数率(％)", u"5着"},
                               {500, u"着回数率(％)", u"6着"},
                               {460, u"本日出走", u"前半"},
                               {460, u"本日出走", u"後半"}},
                              8};

const Layout kReturnsLayout = {{{840, u"選手名", u"選手名"},
                                {480, u"登番", u"登番"},
                                {480, u"2連単回収率", u"出走"},
                                {540, u"2連単回収率", u"2連対"},
                                {480, u"2連単回収率", u"回収"},
                                {480, u"3連単回収率", u"出走"},
                                {540, u"3連単回収率", u"3連対"},
                                {490, u"3連単回収率", u"回収"},
                                {460, u"本日出走", u"前半"},
                                {460, u"本日出走", u"後半"}},
                               5};

constexpr int kHeadingHeight = 260;

// Lays a grid out afresh with its two heading rows and no data rows.
void applyLayout(GridModel &grid, const Layout &layout)
{
    grid.reset();
    const int cols = int(layout.columns.size());
    grid.setCols(cols);
    grid.setRows(2);
    grid.setFixedCols(1);
    grid.setFixedRows(2);
    grid.setRowHeight(0, kHeadingHeight);
    grid.setRowHeight(1, kHeadingHeight);
    grid.setMergeMode(GridMerge::RestrictAll);
    grid.setMergeRow(0, true);
    for (int c = 0; c < cols; ++c) {
        const Heading &h = layout.columns[std::size_t(c)];
        grid.setColWidth(c, h.width);
        grid.setMergeCol(c, c < layout.mergeCols);
        grid.setColAlignment(c, GridAlign::CenterCenter);
        grid.setText(0, c, QString::fromUtf16(h.top));
        grid.setText(1, c, QString::fromUtf16(h.bottom));
    }
    grid.setRow(1);
    grid.setCol(0);
}

} // namespace

const RankingKind *rankingKind(double lunksflag)
{
    for (const RankingKind &k : kKinds)
        if (lunksflag == k.flag)
            return &k;
    return nullptr;
}

bool isSemiFinalTitle(const QString &title)
{
    return title == QString::fromUtf16(kKinds[2].title) || title == QString::fromUtf16(kKinds[3].title);
}

RankingPage set_dataroom(const DayKey &key, GridModel &ranking, GridModel &places, GridModel &returns)
{
    RankingPage page;
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select lunksflag from f_setfg where kyosocode = ? and setuscode = ? and datescnt = ?"),
        {modkelmon::keyValue(key.kyosocode), modkelmon::keyValue(key.setuscode), modkelmon::keyValue(key.datescnt)});
    if (!q.next()) {
        page.title = QString();
        page.subtitle = QStringLiteral("お客様のデータベースが壊れています");
        page.note = QStringLiteral("ランキングを表示できません");
        applyLayout(ranking, bestLayout(false));
    } else {
        const RankingKind *kind = rankingKind(fieldNumber(q.value(0)));
        if (kind) {
            page.title = QString::fromUtf16(kind->title);
            page.subtitle = QString::fromUtf16(kind->subtitle);
            page.note = QString::fromUtf16(kind->note);
            page.pointsButton = kind->flag == 2;
        }
        const int flag = kind ? kind->flag : 0;
        applyLayout(ranking, flag == 2 ? kPointsLayout : bestLayout(flag == 3 || flag == 4));
    }
    applyLayout(places, kPlacesLayout);
    applyLayout(returns, kReturnsLayout);
    return page;
}

std::optional<DataRoomPopup> dataroomPopup(int index, const QString &rankingTitle, const GridModel &grid)
{
    if (index < 0 || index > 2 || grid.rows() <= grid.fixedRows() || grid.rows() <= 2)
        return std::nullopt;
    DataRoomPopup popup;
    int raceCol = 8;
    int testedCol = grid.col();
    if (index == 0 && rankingTitle == QString::fromUtf16(kPointsTitle)) {
        popup.menu = QStringLiteral("mnul1");
        raceCol = 6;
    } else if (index == 0) {
        popup.menu = QStringLiteral("mnul2");
        if (isSemiFinalTitle(rankingTitle))
            testedCol = 8;
    } else {
        popup.menu = index == 1 ? QStringLiteral("mnucr") : QStringLiteral("mnuks");
    }
    const bool onRace = grid.col() == raceCol || grid.col() == raceCol + 1;
    popup.sortAverage = !onRace;
    popup.raceCard = onRace && !trimBlanks(grid.text(grid.row(), testedCol)).isEmpty();
    return popup;
}

} // namespace kelmon::lists
