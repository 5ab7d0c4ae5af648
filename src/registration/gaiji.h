#pragma once
// Expansion of the paper's private-use characters (code page 932 user-defined
// area) into ordinary display text.

#include <QString>
#include <QStringView>

namespace kelmon {

// The text without its trailing blanks, each private-use character of the
// paper's table replaced by its display text; every other character stays.
QString conv_gaiji(QStringView text);

// The display text of one code point, or an empty text when it has none.
QString gaijiText(char32_t codePoint);

} // namespace kelmon
