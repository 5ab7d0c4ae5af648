#include "common/textforms.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kelmon {

namespace {

bool isValBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isTrimBlank(QChar c)
{
    return c == u' ' || c == QChar(0x3000);
}

int digitValue(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d >= 0 && d < radix ? d : -1;
}

// Reads characters of a text one by one, stepping over the blanks that the
// numeric value ignores wherever they stand.
class BlankSkipper {
public:
    explicit BlankSkipper(QStringView text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar peek() const { return atEnd() ? QChar() : text_[pos_]; }
    void next() { ++pos_; skip(); }
private:
    void skip() { while (pos_ < text_.size() && isValBlank(text_[pos_])) ++pos_; }
    QStringView text_;
    qsizetype pos_ = 0;
};

double radixValue(BlankSkipper &in, int radix)
{
    double value = 0;
    for (int d; !in.atEnd() && (d = digitValue(in.peek(), radix)) >= 0; in.next())
        value = value * radix + d;
    return value;
}

double finiteOrZero(double v)
{
    return std::isfinite(v) && v != 0 ? v : 0.0;
}

} // namespace

double val(QStringView text)
{
    BlankSkipper in(text);
    if (in.peek() == u'&') {
        in.next();
        const QChar kind = in.peek().toUpper();
        if (kind != u'H' && kind != u'O')
            return 0;
        in.next();
        return finiteOrZero(radixValue(in, kind == u'H' ? 16 : 8));
    }

    std::string number;
    if (in.peek() == u'-' || in.peek() == u'+') {
        if (in.peek() == u'-')
            number += '-';
        in.next();
    }
    std::string intDigits, fracDigits;
    for (; !in.atEnd() && digitValue(in.peek(), 10) >= 0; in.next())
        intDigits += char(in.peek().unicode());
    if (in.peek() == u'.') {
        in.next();
        for (; !in.atEnd() && digitValue(in.peek(), 10) >= 0; in.next())
            fracDigits += char(in.peek().unicode());
    }
    if (intDigits.empty() && fracDigits.empty())
        return 0;
    number += intDigits.empty() ? std::string("0") : intDigits;
    if (!fracDigits.empty())
        number += '.' + fracDigits;

    const QChar e = in.peek().toUpper();
    if (e == u'E' || e == u'D') {
        in.next();
        std::string exponent = "e";
        if (in.peek() == u'-' || in.peek() == u'+') {
            if (in.peek() == u'-')
                exponent += '-';
            in.next();
        }
        bool expDigit = false;
        for (; !in.atEnd() && digitValue(in.peek(), 10) >= 0; in.next()) {
            exponent += char(in.peek().unicode());
            expDigit = true;
        }
        if (expDigit)
            number += exponent;
    }

    double value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc())
        return 0;   // beyond the range of a double (or below it): no usable number
    return finiteOrZero(value);
}

bool isNumericText(QStringView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && (text[b] == u' ' || text[b] == u'\t'))
        ++b;
    while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t'))
        --e;
    const QStringView t = text.sliced(b, e - b);
    qsizetype i = 0;
    const auto digitsFrom = [&](int radix) {
        const qsizetype start = i;
        while (i < t.size() && digitValue(t[i], radix) >= 0)
            ++i;
        return i - start;
    };
    if (t.size() > 2 && t[0] == u'&') {
        const QChar kind = t[1].toUpper();
        if (kind != u'H' && kind != u'O')
            return false;
        i = 2;
        return digitsFrom(kind == u'H' ? 16 : 8) > 0 && i == t.size();
    }
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    qsizetype mantissa = digitsFrom(10);
    if (i < t.size() && t[i] == u'.') {
        ++i;
        mantissa += digitsFrom(10);
    }
    if (mantissa == 0)
        return false;
    if (i < t.size() && (t[i].toUpper() == u'E' || t[i].toUpper() == u'D')) {
        ++i;
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
            ++i;
        if (digitsFrom(10) == 0)
            return false;
    }
    return i == t.size();
}

int cint(double value)
{
    if (!std::isfinite(value))
        return 0;
    double r = std::floor(value);
    const double diff = value - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0))
        r += 1;
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

qint16 cint16(double value)
{
    const int r = cint(value);
    if (r > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    if (r < std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    return qint16(r);
}

namespace {

// A finite value as its shortest decimal text of at most 15 significant
// digits: value = 0.digits x 10^pointPos, digits without trailing zeros
// (empty for zero).
struct DecimalText {
    bool negative = false;
    QString digits;
    int pointPos = 0;
};

DecimalText decimalText(double value)
{
    DecimalText d;
    if (!std::isfinite(value) || value == 0)
        return d;
    d.negative = value < 0;
    // 15 significant digits, e.g. "2.67500000000000e+00".
    const QString e = QString::number(std::fabs(value), 'e', 14);
    const qsizetype ePos = e.indexOf(u'e');
    QString digits = e.left(ePos);
    digits.remove(u'.');
    while (digits.endsWith(u'0'))
        digits.chop(1);
    d.digits = digits;
    d.pointPos = e.mid(ePos + 1).toInt() + 1;
    return d;
}

// The digits of d rounded half away from zero to `decimals` places:
// integer digits (no leading zeros, possibly empty) and exactly `decimals`
// fraction digits.
void roundDecimal(const DecimalText &d, int decimals, QString *intPart, QString *fracPart)
{
    // Lay the digits out as a plain digit string with the point after `intLen`.
    const int lead = d.pointPos < 0 ? -d.pointPos : 0;
    QString all = QString(lead, u'0') + d.digits;
    int intLen = d.pointPos < 0 ? 0 : d.pointPos;
    if (all.size() < intLen + decimals)
        all += QString(intLen + decimals - all.size(), u'0');
    const bool roundUp = all.size() > intLen + decimals && all[intLen + decimals] >= u'5';
    all.truncate(intLen + decimals);
    if (roundUp) {
        int i = all.size() - 1;
        for (; i >= 0; --i) {
            if (all[i] == u'9') {
                all[i] = u'0';
            } else {
                all[i] = QChar(all[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            all.prepend(u'1');
            ++intLen;
        }
    }
    QString ip = all.left(intLen);
    while (ip.startsWith(u'0'))
        ip.remove(0, 1);
    *intPart = ip;
    *fracPart = all.mid(intLen);
}

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

bool isDigitPlaceholder(QChar c) { return c == u'0' || c == u'#'; }

QString formatNumber(double value, QStringView pattern)
{
    // Literal text before the first and after the last placeholder is kept.
    qsizetype first = 0, last = pattern.size();
    while (first < pattern.size() && !isDigitPlaceholder(pattern[first]) && pattern[first] != u'.')
        ++first;
    while (last > first && !isDigitPlaceholder(pattern[last - 1]) && pattern[last - 1] != u'.')
        --last;
    const QStringView body = pattern.sliced(first, last - first);
    const qsizetype point = body.indexOf(u'.');
    const QStringView intPat = point < 0 ? body : body.first(point);
    const QStringView fracPat = point < 0 ? QStringView() : body.sliced(point + 1);

    int minInt = 0, decimals = 0, minDecimals = 0;
    for (QChar c : intPat)
        minInt += c == u'0';
    const bool grouping = intPat.contains(u',');
    for (QChar c : fracPat) {
        decimals += isDigitPlaceholder(c);
        minDecimals += c == u'0';
    }

    QString ip, fp;
    roundDecimal(decimalText(std::isfinite(value) ? value : 0), decimals, &ip, &fp);
    bool zero = ip.isEmpty();
    for (QChar c : fp)
        zero = zero && c == u'0';
    while (fp.size() > minDecimals && fp.endsWith(u'0'))
        fp.chop(1);
    if (ip.size() < minInt)
        ip.prepend(QString(minInt - ip.size(), u'0'));
    if (grouping)
        ip = groupThousands(ip);

    QString out = pattern.first(first).toString();
    // A value that rounds to zero is shown without a sign.
    if (value < 0 && !zero)
        out += u'-';
    out += ip;
    if (!fp.isEmpty())
        out += u'.' + fp;
    out += pattern.sliced(last);
    return out;
}

QString rightAlign(const QString &text, qsizetype width)
{
    return text.size() >= width ? text : QString(width - text.size(), u' ') + text;
}

} // namespace

QString format(double value, QStringView pattern)
{
    if (pattern.isEmpty())
        return plainNumber(value);
    if (pattern.contains(u'@'))
        return rightAlign(plainNumber(value), pattern.count(u'@'));
    return formatNumber(value, pattern);
}

QString format(const QString &text, QStringView pattern)
{
    if (pattern.isEmpty())
        return text;
    if (pattern.contains(u'@'))
        return rightAlign(text, pattern.count(u'@'));
    return isNumericText(text) ? formatNumber(val(text), pattern) : text;
}

QString plainNumber(double value)
{
    const DecimalText d = decimalText(value);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    const int exp10 = d.pointPos - 1;
    if (exp10 >= 15 || exp10 < -6) {
        // Exponent form: 1.23456789012346E+17, 1E-07.
        out += d.digits[0];
        if (d.digits.size() > 1)
            out += u'.' + d.digits.mid(1);
        out += exp10 < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exp10), 2, 10, QChar(u'0'));
        return out;
    }
    if (d.pointPos <= 0)
        return out + QStringLiteral("0.") + QString(-d.pointPos, u'0') + d.digits;
    if (d.digits.size() <= d.pointPos)
        return out + d.digits + QString(d.pointPos - d.digits.size(), u'0');
    return out + d.digits.left(d.pointPos) + u'.' + d.digits.mid(d.pointPos);
}

QString trimBlanks(QStringView text)
{
    return trimTrailingBlanks(trimLeadingBlanks(text));
}

QString trimTrailingBlanks(QStringView text)
{
    qsizetype e = text.size();
    while (e > 0 && isTrimBlank(text[e - 1]))
        --e;
    return text.first(e).toString();
}

QString trimLeadingBlanks(QStringView text)
{
    qsizetype b = 0;
    while (b < text.size() && isTrimBlank(text[b]))
        ++b;
    return text.sliced(b).toString();
}

} // namespace kelmon
