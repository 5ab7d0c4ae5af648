#pragma once
// A database failure: its number and description travel to the command's
// handler, which hands them to the fatal database exit.

#include <QString>
#include <stdexcept>

namespace kelmon {

struct DbError : std::runtime_error {
    DbError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number(number), description(description) {}
    int number;
    QString description;
};

} // namespace kelmon
