#include "lists/listcells.h"

#include "common/textforms.h"

#include <QSqlQuery>
#include <cmath>

namespace kelmon::lists {

double fieldNumber(const QVariant &value)
{
    if (value.isNull())
        return 0;
    if (value.typeId() == QMetaType::QString)
        return val(value.toString());
    const double d = value.toDouble();
    return std::isfinite(d) ? d : 0;
}

double fieldNumber(const QSqlQuery &query, const char *name)
{
    return fieldNumber(query.value(QString::fromLatin1(name)));
}

QString shortName(const QString &name) { return name.left(4); }

QString registrationText(double value)
{
    if (!(value >= 1 && value <= 32767) || value != std::trunc(value))
        return QString();
    return format(value, "0000");
}

QString alignedNumber(double value, const char *pattern) { return format(plainNumber(value), pattern); }

QString frameCell(double frame)
{
    if (!(frame >= 1 && frame <= 6) || frame != std::trunc(frame))
        return QString();
    return plainNumber(frame) + QStringLiteral("枠");
}

} // namespace kelmon::lists
