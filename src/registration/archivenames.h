#pragma once
// Paper archive names and racer photos.

#include <QString>

namespace kelmon {

// Title of a paper from its archive file name "yymdxvkg.lzh" (year, month in
// hex, day 1-9/a-v, unused, venue letter, edition, grade), for example
// "住之江 ＳＧ 初日版(02/03/05)". A name that cannot be decoded (fewer than
// eight characters before the extension, or a month that is not a hex digit)
// gives the file name itself.
QString get_newspname(const QString &archiveName);

// Copies every photo ????.gif of fromFolder into photoFolder under the same
// name, replacing an earlier photo of that name; creates photoFolder when it
// is missing. Returns false with a message for the user in *error when a
// photo cannot be copied.
bool copy_photo(const QString &fromFolder, const QString &photoFolder, QString *error);

} // namespace kelmon
