#pragma once
// Paper files and archives for the registration tests: code page 932 text
// files and stored (-lh0-) LHA archives with level-0 headers.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace kelmon::test {

QByteArray cp932(const QString &text);
// Writes bytes to path; returns false on failure.
bool writeFile(const QString &path, const QByteArray &bytes);

// One record per line, fields joined by commas, CR LF after each.
QByteArray paperLines(const QList<QStringList> &records);
// A record of the table's column count (plus extra fields): keys from
// `keys`, N positions "0", S and G positions "x".
QStringList recordFor(const char *table, const QList<int> &keys, int extraFields = 0);

using ArchiveEntry = QPair<QString, QByteArray>;
// Writes an LHA archive holding the entries as stored data.
bool writeLzh(const QString &path, const QList<ArchiveEntry> &entries);

} // namespace kelmon::test
