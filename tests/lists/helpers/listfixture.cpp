#include "lists/helpers/listfixture.h"

#include "common/modkelmon.h"

namespace kelmon::test {

void insertDayRow(const char *table, int setuscode, int datescnt, std::initializer_list<Field> fields,
                  std::initializer_list<Field> more)
{
    insertRow(table, {{"setuscode", setuscode}, {"datescnt", datescnt}});
    // The other fields go in as updates of the row just inserted.
    for (const auto &list : {fields, more})
        for (const auto &[name, value] : list)
            modkelmon::exec(QStringLiteral("update %1 set \"%2\" = ? where rowid = last_insert_rowid()")
                                .arg(QLatin1String(table), QLatin1String(name)),
                            {value});
}

QStringList rowTexts(const GridModel &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.text(row, c);
    return texts;
}

} // namespace kelmon::test
