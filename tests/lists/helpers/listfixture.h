#pragma once
// Shared by the lists' tests: a fixture row of one meeting day naming only
// the fields a test cares about, and the texts of a grid row.

#include "common/modkelmon.h"
#include "platform/gridmodel.h"
#include "support/fixtures.h"

#include <QStringList>

namespace kelmon::test {

// Inserts a row of `table` for meeting `setuscode`, day `datescnt`, with
// `fields` and `more` set on it (the other fields 0 or ""). Rows of one day
// must differ in their key fields.
inline void insertDayRow(const char *table, int setuscode, int datescnt, std::initializer_list<Field> fields,
                         std::initializer_list<Field> more = {})
{
    insertRow(table, {{"setuscode", setuscode}, {"datescnt", datescnt}});
    // The other fields go in as updates of the row just inserted.
    for (const auto &list : {fields, more})
        for (const auto &[name, value] : list)
            modkelmon::exec(QStringLiteral("update %1 set \"%2\" = ? where rowid = last_insert_rowid()")
                                .arg(QLatin1String(table), QLatin1String(name)),
                            {value});
}

// The texts of a grid row, column by column.
inline QStringList rowTexts(const GridModel &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.text(row, c);
    return texts;
}

} // namespace kelmon::test
