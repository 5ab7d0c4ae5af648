#pragma once
// Titles of the download list: venue, grade, kind of meeting day and date read
// from a paper archive name alone, padded so that titles line up in a
// fixed-pitch list.

#include <QString>

namespace kelmon {

// The message that stands as the title of a name that cannot be read.
inline constexpr const char16_t *kInvalidPaperName = u"ファイル名が不正です...ダウンロードしないで下さい";

// "桐　生  >> 一般 初日　　　(2002/03/11)" for "023b0a11.lzh"; the invalid-name
// message for a name that cannot be decoded.
QString comp_papertitle(const QString &fileName);

// Lookups of one character each; any other length gives "ER" (or 0).
QString get_venuename(const QString &letter);   // "a".."x" (either case) -> three-character venue name
QString get_dayname(const QString &digit);      // "1".."5" -> five-character day name
QString get_gradename(const QString &digit);    // "1".."5" -> grade name
int get_daynumber(const QString &character);    // "1".."9", "a".."v" -> 1..31, else 0

} // namespace kelmon
