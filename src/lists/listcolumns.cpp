#include "lists/listcolumns.h"

#include "common/codetables.h"
#include "common/textforms.h"
#include "common/timeforms.h"

#include <QSqlRecord>
#include <cmath>

namespace kelmon::lists {

QString raceCell(double race)
{
    // A value that is no race number (negative, fractional, beyond two
    // places) shows no race either.
    if (!(race >= 1 && race <= 99) || race != std::trunc(race))
        return QString();
    return format(plainNumber(race), "@@") + QLatin1Char('R');
}

QString rateCell(double rate)
{
    return format(format(rate, "0.00"), "@@@@@");
}

std::optional<int> placeRate(double places, double starts)
{
    // Counts of a paper are small whole numbers; anything else has no rate.
    constexpr double kLimit = 1e9;
    if (!(starts > 0) || !(std::fabs(places) < kLimit) || !(starts < kLimit) || places != std::trunc(places)
        || starts != std::trunc(starts))
        return std::nullopt;
    const qint64 p = qint64(places);
    const qint64 n = qint64(starts);
    // Tenths of a percent, cut down (floor): places x 1000 / starts.
    const qint64 scaled = p * 1000;
    qint64 tenths = scaled / n;
    if (scaled % n != 0 && scaled < 0)
        --tenths;
    // Raised to whole percent: |floor(-tenths / 10)|.
    qint64 negated = -tenths;
    qint64 whole = negated / 10;
    if (negated % 10 != 0 && negated < 0)
        --whole;
    return int(std::llabs(whole));
}

namespace {

bool isPlaceRate(Cell cell) { return cell == Cell::PlaceRate2 || cell == Cell::PlaceRate3; }

} // namespace

ListRowReader::ListRowReader(const QSqlQuery &query, std::span<const ListColumn> columns) : columns_(columns)
{
    const QSqlRecord record = query.record();
    for (const ListColumn &c : columns_) {
        std::vector<int> indexes;
        if (isPlaceRate(c.cell)) {
            const QString prefix = QString::fromLatin1(c.field);
            const int places = c.cell == Cell::PlaceRate2 ? 2 : 3;
            for (int p = 1; p <= places; ++p)
                indexes.push_back(record.indexOf(prefix + u'_' + QString::number(p)));
            indexes.push_back(record.indexOf(prefix + QStringLiteral("_all")));
        } else {
            indexes.push_back(record.indexOf(QString::fromLatin1(c.field)));
        }
        fields_.push_back(std::move(indexes));
    }
}

double ListRowReader::number(const QSqlQuery &query, int index) const
{
    return index < 0 ? 0.0 : query.value(index).toDouble();
}

QString ListRowReader::cell(const QSqlQuery &query, std::size_t column) const
{
    const ListColumn &c = columns_[column];
    const std::vector<int> &f = fields_[column];
    const int index = f.front();
    switch (c.cell) {
    case Cell::Name4:
        return index < 0 ? QString() : query.value(index).toString().left(4);
    case Cell::Text:
        return index < 0 ? QString() : query.value(index).toString();
    case Cell::Pattern: {
        const double value = number(query, index);
        // "@" patterns align the number's plain text; the others format the number.
        return c.pattern[0] == '@' ? format(plainNumber(value), c.pattern) : format(value, c.pattern);
    }
    case Cell::Rate:
        return rateCell(number(query, index));
    case Cell::Pref:
        return modkelmon::get_pref_name(cint16(number(query, index)));
    case Cell::Raw:
        return plainNumber(number(query, index));
    case Cell::Race:
        return raceCell(number(query, index));
    case Cell::RaceTime:
        return modkelmon::race_time(number(query, index));
    case Cell::PlaceRate2:
    case Cell::PlaceRate3: {
        double places = 0;
        for (std::size_t i = 0; i + 1 < f.size(); ++i)
            places += number(query, f[i]);
        const std::optional<int> rate = placeRate(places, number(query, f.back()));
        return rate ? format(QString::number(*rate), "@@@") : QString();
    }
    }
    return QString();
}

void ListRowReader::appendRows(GridModel &grid, QSqlQuery &query) const
{
    while (query.next()) {
        const int row = grid.rows();
        grid.setRows(row + 1);
        grid.setRow(row);
        for (std::size_t c = 0; c < columns_.size(); ++c)
            grid.setText(row, int(c), cell(query, c));
    }
}

void tintHeadings(GridModel &grid, std::span<const HeadingTint> tints, int rows)
{
    for (const HeadingTint &t : tints)
        for (int c = t.first; c <= t.last; ++c)
            for (int r = 0; r < rows; ++r)
                grid.setBackColor(r, c, t.color);
}

} // namespace kelmon::lists
