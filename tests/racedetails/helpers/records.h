#pragma once
// A database record built in memory, for the functions that read one row.

#include "support/fixtures.h"

#include <QSqlRecord>

namespace kelmon::test {

QSqlRecord record(std::initializer_list<Field> fields);

} // namespace kelmon::test
