#include "racecard/blockhelpers.h"

#include "common/textforms.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"

namespace kelmon::racecard {

namespace {

constexpr int kBlackIndex = 20;

bool isDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

} // namespace

void headerCell(GridModel &grid, int row, int col, const QString &text)
{
    paintCell(grid, row, col, kHeaderBack);
    grid.setText(row, col, text);
}

void headerSpan(GridModel &grid, int row, int first, int last, const QString &text)
{
    for (int c = first; c <= last; ++c)
        headerCell(grid, row, c, text);
}

void formatColumns(GridModel &grid, int first, int last, bool mergeDown, GridAlign align)
{
    for (int c = first; c <= last; ++c) {
        if (mergeDown)
            grid.setMergeCol(c, true);
        grid.setColAlignment(c, align);
    }
}

void paintBoat(GridModel &grid, int top, int col, int colorIndex)
{
    for (int r = top; r < top + 4; ++r)
        paintCell(grid, r, col, colorIndex);
}

void fillBoat(GridModel &grid, int top, int col, const QString &text)
{
    for (int r = top; r < top + 4; ++r)
        grid.setText(r, col, text);
}

int textColorOn(int backIndex)
{
    return (backIndex == kBlackIndex || !get_color(backIndex)) ? kWhiteText : kBlackText;
}

void paintBoatReadable(GridModel &grid, int top, int col, int colorIndex)
{
    const QRgb back = get_color(colorIndex).value_or(0x000000);
    for (int r = top; r < top + 4; ++r) {
        grid.setBackColor(r, col, back);
        paintText(grid, r, col, textColorOn(colorIndex));
    }
}

int gradeColor(double grade)
{
    return grade >= 4 ? cint(grade + 10) : kWhite;
}

QString fullWidthDigits(const QString &text)
{
    QString out = text;
    for (QChar &ch : out)
        if (isDigit(ch))
            ch = QChar(ch.unicode() - '0' + 0xFF10);
    return out;
}

int packedNumber(QStringView text)
{
    if (text.isEmpty() || !isDigit(text.front()))
        return 0;
    int value = 0;
    int digits = 0;
    for (QChar ch : text) {
        if (ch == QLatin1Char(' '))
            continue;
        if (!isDigit(ch) || digits == 9)
            break;
        value = value * 10 + (ch.unicode() - '0');
        ++digits;
    }
    return value;
}

PackedRecord::PackedRecord(QStringView field, int length, int index)
{
    const qsizetype from = qsizetype(length) * index;
    if (length > 0 && index >= 0 && from < field.size())
        text_ = trimBlanks(field.mid(from, length));
}

QString PackedRecord::chars(int first, int count) const
{
    if (first < 1 || count < 1)
        return QString();
    return text_.mid(first - 1, count);
}

int PackedRecord::number(int first, int count) const
{
    return packedNumber(chars(first, count));
}

void historyRows(GridModel &grid, int top, int col, const QString &history,
                 modkelmon::LetterForm form, int oneRowMax)
{
    const auto [upper, lower] = modkelmon::history_rows(modkelmon::seiseki_letters(history, form), oneRowMax);
    putText(grid, top + 2, col, upper, Align::Left);
    putText(grid, top + 3, col, lower, Align::Left);
}

void numberRateHeader(GridModel &grid, int col, const NumberRateColumns &columns)
{
    formatColumns(grid, col, col, true, GridAlign::CenterCenter);
    const QString title = QString::fromUtf8(columns.title);
    for (int r = 0; r < 2; ++r) {
        headerCell(grid, r, col, title);
        grid.setFontBold(r, col, true);
    }
    headerCell(grid, 2, col, QStringLiteral("勝率"));
    headerCell(grid, 3, col, QStringLiteral("％"));
}

void numberRateData(GridModel &grid, const BoatRow &row, int k, int col, const NumberRateColumns &columns)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, columns.dataColor);
    const QString number = row.plain(columns.number);
    for (int r = top; r < top + 2; ++r) {
        grid.setFontName(r, col, QString::fromUtf8(kNameFont));
        grid.setFontSize(r, col, 12);
        grid.setFontBold(r, col, true);
        grid.setText(r, col, number);
    }
    grid.setText(top + 2, col, format(row.num(columns.rate), "0.00"));
    grid.setText(top + 3, col, row.plain(columns.percent) + QStringLiteral("％"));
}

void placeCountHeader(GridModel &grid, int col, const QString &title)
{
    formatColumns(grid, col, col, true, GridAlign::CenterCenter);
    headerCell(grid, 0, col, title);
    headerCell(grid, 1, col, title);
    headerCell(grid, 2, col, QStringLiteral("優出"));
    headerCell(grid, 3, col, QStringLiteral("優勝"));
    grid.setColAlignment(col + 1, GridAlign::RightCenter);
    const QString places[4] = {QStringLiteral("1着"), QStringLiteral("2着"), QStringLiteral("3着"),
                               QStringLiteral("外")};
    for (int r = 0; r < 4; ++r)
        headerCell(grid, r, col + 1, places[r]);
}

void placeCountData(GridModel &grid, const BoatRow &row, int k, int col, const PlaceCountColumns &columns)
{
    const int top = boatRow(k);
    paintBoat(grid, top, col, kWhite);
    paintBoat(grid, top, col + 1, kWhite);
    putText(grid, top, col, QStringLiteral("優出"), Align::Center);
    putText(grid, top + 1, col, row.plain(columns.finals), Align::Center);
    putText(grid, top + 2, col, QStringLiteral("優勝"), Align::Center);
    putText(grid, top + 3, col, row.plain(columns.wins), Align::Center);
    double placed = 0;
    for (int i = 0; i < 3; ++i) {
        const double n = row.num(columns.places[i]);
        placed += n;
        putText(grid, top + i, col + 1, plainNumber(n), Align::Right);
    }
    putText(grid, top + 3, col + 1, plainNumber(row.num(columns.all) - placed), Align::Right);
}

void previousUsersHeader(GridModel &grid, int col, const QString &title)
{
    formatColumns(grid, col, col + 2, true, GridAlign::CenterCenter);
    headerSpan(grid, 0, col, col + 2, QStringLiteral(" "));
    headerSpan(grid, 1, col, col + 2, title);
    headerSpan(grid, 2, col, col + 2, QStringLiteral(" "));
    headerCell(grid, 3, col, QStringLiteral("前々成績"));
    headerCell(grid, 3, col + 2, QStringLiteral("前回成績"));
}

int previousUserColumn(int col, int which)
{
    return col + (2 - which) * 2;
}

} // namespace kelmon::racecard
