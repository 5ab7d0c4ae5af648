#include "racedetails/helpers/records.h"

#include <QSqlField>

namespace kelmon::test {

QSqlRecord record(std::initializer_list<Field> fields)
{
    QSqlRecord rec;
    for (const auto &[name, value] : fields) {
        QSqlField f(QString::fromLatin1(name), value.metaType());
        f.setValue(value);
        rec.append(f);
    }
    return rec;
}

} // namespace kelmon::test
