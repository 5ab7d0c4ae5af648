#include "racecard/cardlayout.h"

#include "common/modkelmon.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardtables.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace kelmon::racecard {

CardLayout CardLayout::fromCodes(const QVector<int> &codes)
{
    CardLayout layout;
    layout.setCodes(codes);
    return layout;
}

CardLayout CardLayout::normal()
{
    return fromCodes({1, 2, 3, 4, 5, 12, 16, 19, 23});
}

CardLayout CardLayout::all()
{
    QVector<int> codes;
    for (int code = 1; code <= kBlockCodes; ++code)
        codes.append(code);
    return fromCodes(codes);
}

// Keeps the codes up to the first 0 that name a block, each once, and derives
// the start columns from their widths.
void CardLayout::setCodes(const QVector<int> &codes)
{
    ri_.fill(0);
    rc_.fill(0);
    int n = 0;
    int col = kFixedCols;
    for (int code : codes) {
        if (code == 0 || n == kSlots)
            break;
        if (get_colcount(code) == 0 || contains(code))
            continue;
        ri_[std::size_t(n)] = code;
        rc_[std::size_t(n)] = col;
        col += get_colcount(code);
        ++n;
    }
}

int CardLayout::count() const
{
    int n = 0;
    while (n < kSlots && ri_[std::size_t(n)] != 0)
        ++n;
    return n;
}

QVector<int> CardLayout::codes() const
{
    QVector<int> list;
    for (int i = 0; i < count(); ++i)
        list.append(ri_[std::size_t(i)]);
    return list;
}

QVector<int> CardLayout::startColumns() const
{
    QVector<int> list;
    for (int i = 0; i < count(); ++i)
        list.append(rc_[std::size_t(i)]);
    return list;
}

int CardLayout::indexOf(int code) const
{
    if (code == 0)
        return -1;
    const int n = count();
    for (int i = 0; i < n; ++i)
        if (ri_[std::size_t(i)] == code)
            return i;
    return -1;
}

bool CardLayout::contains(int code) const
{
    return indexOf(code) >= 0;
}

int CardLayout::columnCount() const
{
    int col = kFixedCols;
    for (int code : codes())
        col += get_colcount(code);
    return col;
}

int CardLayout::blockAtColumn(int col) const
{
    const int n = count();
    for (int i = 0; i < n; ++i) {
        const int start = rc_[std::size_t(i)];
        if (col >= start && col < start + get_colcount(ri_[std::size_t(i)]))
            return i;
    }
    return -1;
}

void CardLayout::clear()
{
    ri_.fill(0);
    rc_.fill(0);
}

bool CardLayout::add_column(int menu, int clickedItem)
{
    const int added = blockCodeOfMenu(menu);
    if (added == 0 || contains(added))
        return false;
    QVector<int> list = codes();
    const int clicked = blockCodeOfItem(clickedItem);
    if (list.isEmpty() || clicked == 0) {
        list.prepend(added);
    } else {
        const int at = list.indexOf(clicked);
        if (at < 0)
            return false;
        list.insert(at + 1, added);
    }
    setCodes(list);
    return true;
}

bool CardLayout::del_column(int clickedItem)
{
    QVector<int> list = codes();
    if (!list.removeOne(blockCodeOfItem(clickedItem)))
        return false;
    setCodes(list);
    return true;
}

CardLayout CardLayout::load_m_kanri()
{
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from m_kanri where kanricode = ?"), {1});
    if (!q.next())
        return normal();
    // ri01..ri30 are the fields at positions 1..30; the start columns that
    // follow them are not read back: they are derived from the codes.
    QVector<int> codes;
    for (int i = 0; i < kSlots; ++i) {
        bool ok = false;
        const qlonglong code = q.value(i + 1).toLongLong(&ok);
        codes.append(ok && code >= 0 && code <= kBlockCodes ? int(code) : -1);
    }
    return fromCodes(codes);
}

void CardLayout::save_m_kanri() const
{
    QString sql = QStringLiteral("update m_kanri set ");
    QVariantList values;
    for (int i = 0; i < kSlots; ++i) {
        sql += QStringLiteral("ri%1 = ? , ").arg(i + 1, 2, 10, QLatin1Char('0'));
        values.append(ri_[std::size_t(i)]);
    }
    for (int i = 0; i < kSlots; ++i) {
        sql += QStringLiteral("rc%1 = ?").arg(i + 1, 2, 10, QLatin1Char('0'));
        sql += i + 1 < kSlots ? QStringLiteral(" , ") : QString();
        values.append(rc_[std::size_t(i)]);
    }
    sql += QStringLiteral(" where kanricode = ?");
    values.append(1);
    modkelmon::exec(sql, values);
}

} // namespace kelmon::racecard
