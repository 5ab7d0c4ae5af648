#pragma once
// Text forms shared by every window: the numeric value of a text, integer
// rounding, the number and text patterns of the paper, plain number text and
// trimming of half-width and ideographic blanks.

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace kelmon {

// Numeric value of a text: the leading number, blanks skipped anywhere, an
// optional sign, fraction and exponent, "&H"/"&O" radix prefixes; 0 when none.
double val(QStringView text);

// Integer rounding with half to even (2.5 -> 2, 3.5 -> 4).
int cint(double value);
// The same, narrowed to 16 bits: values beyond -32768..32767 are clamped
// (a number that does not fit never overflows).
qint16 cint16(double value);

// True when the whole text, apart from leading and trailing blanks, is one
// number as val reads it (decimal with optional sign, point and exponent, or
// "&H"/"&O"); a number pattern formats only such texts.
bool isNumericText(QStringView text);

// A number written with a pattern such as "0", "00", "0000", "0.0", "0.00",
// "#,0": rounds the value's shortest decimal text half away from zero.
QString format(double value, QStringView pattern);
// A text written with a pattern: "@@".."@@@@@" right-align it in that many
// positions (a longer text whole); a number pattern formats a numeric text
// (its val) and leaves any other text as it is.
QString format(const QString &text, QStringView pattern);
// The same with a pattern given as a plain literal: format(x, "0.00").
inline QString format(double value, const char *pattern)
{
    return format(value, QStringView(QString::fromLatin1(pattern)));
}
inline QString format(const QString &text, const char *pattern)
{
    return format(text, QStringView(QString::fromLatin1(pattern)));
}

// Plain number text: 40 (not 40.0), 45.5, at most 15 significant digits.
QString plainNumber(double value);

// The text without leading and trailing half-width (U+0020) and ideographic
// (U+3000) blanks.
QString trimBlanks(QStringView text);
QString trimTrailingBlanks(QStringView text);
QString trimLeadingBlanks(QStringView text);

} // namespace kelmon
