#pragma once
// Cell texts of the data room and the points table beside the list columns'
// shared forms (listcolumns.h): a racer's short name, the registration
// number, counts right-aligned to a width and the frame cell of a semi-final. Values come straight from query
// fields; a value that cannot be what the cell shows gives an empty cell.

#include <QString>
#include <QVariant>

class QSqlQuery;

namespace kelmon::lists {

// The numeric value of a field: numbers as they are, texts as val reads
// them, an empty or NULL field 0.
double fieldNumber(const QVariant &value);
// The same for a field of a query's current row, by name.
double fieldNumber(const QSqlQuery &query, const char *name);

// The first four characters of a racer's name (a shorter name whole).
QString shortName(const QString &name);

// A registration number in four digits with leading zeros ("0123"); empty
// when the value is not a whole number from 1 to 32767.
QString registrationText(double value);

// A number as plain text right-aligned by a pattern "@@".."@@@@@" (a longer
// text stays whole): 5 with "@@" gives " 5".
QString alignedNumber(double value, const char *pattern);

// A frame of a race: the frame followed by "枠" ("3枠"); empty for 0 and for
// a value outside 1..6.
QString frameCell(double frame);

} // namespace kelmon::lists
