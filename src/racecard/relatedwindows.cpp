#include "racecard/relatedwindows.h"

#include "common/modkelmon.h"
#include "common/textforms.h"
#include "racecard/cardtables.h"

#include <QSqlQuery>
#include <cmath>

namespace kelmon::racecard {

namespace {

// A context field as the number bound into a query.
QVariant number(const QString &field)
{
    const double v = val(field);
    return std::isfinite(v) && std::fabs(v) < 9e15 ? QVariant(qlonglong(v)) : QVariant(0);
}

// The previous-runs panels: the cell's item, the field of the boat that names
// it, the caption around that name and the panel number.
struct Panel {
    int item;
    int field;              // get_wakus_field kind
    const char *prefix;
    const char *suffix;
    const char *flag;
};
const Panel kPanels[] = {
    {34, 1, "", " 3場所前の成績を表示しています...", "1"},
    {35, 1, "", " 2場所前の成績を表示しています...", "2"},
    {36, 1, "", " 前走場所の成績を表示しています...", "3"},
    {37, 1, "", " 前回当地の成績を表示しています...", "4"},
    {51, 2, "モーター ", "号機 前々回の成績を表示しています...", "5"},
    {52, 2, "モーター ", "号機 前回の成績を表示しています...", "6"},
    {62, 3, "ボート ", "号艇 前々回の成績を表示しています...", "7"},
    {63, 3, "ボート ", "号艇 前回の成績を表示しています...", "8"},
};

const Panel *panelOf(int item)
{
    for (const Panel &p : kPanels)
        if (p.item == item)
            return &p;
    return nullptr;
}

// The f_wakus row of the racer of a grid row, positioned on its first row;
// false when there is none (a header row names no racer).
bool findRacer(QSqlQuery &q, const GridModel &grid, const CardContext &context, int row)
{
    const int first = row - row % 5;
    if (first < boatRow(1) || first >= grid.rows())
        return false;
    const double tourokuno = val(grid.text(first, 4).left(4));
    q = modkelmon::exec(QStringLiteral("select tourokuno, sensyname, motorno, boatsno, wakusno from f_wakus "
                                       "where setuscode = ? and datescnt = ? and racesno = ? and tourokuno = ?"),
                        {number(context.setuscode), number(context.datescnt), number(context.racesno),
                         qlonglong(cint16(tourokuno))});
    return q.next();
}

} // namespace

QString get_wakus_field(const GridModel &grid, const CardContext &context, int kind, int row)
{
    if (kind < 0 || kind > 3)
        return QString();
    QSqlQuery q;
    if (!findRacer(q, grid, context, row))
        return QString();
    const QVariant v = q.value(kind);
    return kind == 1 ? v.toString() : plainNumber(v.toDouble());
}

int get_wakus_wakusno(const GridModel &grid, const CardContext &context, int row)
{
    QSqlQuery q;
    return findRacer(q, grid, context, row) ? cint16(q.value(4).toDouble()) : 0;
}

QString get_day_date(const CardContext &context, int day)
{
    const QVariant date = modkelmon::scalar(
        QStringLiteral("select \"Date\" from f_resta where setuscode = ? and datescnt = ? limit 1"),
        {number(context.setuscode), day});
    return date.isValid() && !date.isNull() ? date.toString() : QStringLiteral("00000000");
}

bool isPreviousRunsItem(int item) { return panelOf(item) != nullptr; }

RelatedTarget racerTarget(const GridModel &grid, const CardContext &context)
{
    const int row = grid.row();
    RelatedTarget t;
    t.kind = RelatedKind::RacerDetail;
    t.context = context;
    t.title = get_wakus_field(grid, context, 1, row) + QStringLiteral(" 選手情報を表示しています...");
    t.tourokuno = get_wakus_field(grid, context, 0, row);
    return t;
}

std::optional<RelatedTarget> clickedTarget(const GridModel &grid, const CardContext &context, int item)
{
    const int row = grid.row();
    RelatedTarget t;
    t.context = context;
    if (const Panel *panel = panelOf(item)) {
        t.kind = RelatedKind::PreviousRuns;
        t.title = QString::fromUtf8(panel->prefix) + get_wakus_field(grid, context, panel->field, row)
            + QString::fromUtf8(panel->suffix);
        t.flag = QString::fromLatin1(panel->flag);
        t.wakusno = QString::number(get_wakus_wakusno(grid, context, row));
        return t;
    }
    const std::optional<ClickedRace> race = clickedRace(item, row, grid.text(row, grid.col()));
    if (!race)
        return std::nullopt;
    t.context.racesno = QString::number(race->race);
    if (race->day == 0) {
        // The early race: its card on this card's day.
        t.kind = RelatedKind::RaceCard;
        t.title = QStringLiteral("レース情報を表示しています...");
        return t;
    }
    t.kind = RelatedKind::RaceResult;
    t.title = QStringLiteral("レース結果を表示しています...");
    t.context.datescnt = QString::number(race->day);
    t.context.date = get_day_date(context, race->day);
    return t;
}

} // namespace kelmon::racecard
