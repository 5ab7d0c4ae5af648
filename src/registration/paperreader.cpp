#include "registration/paperreader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

namespace kelmon {

PaperFileError::PaperFileError(Kind kind, const QString &file, const QString &detail)
    : std::runtime_error(QString(file + QStringLiteral(": ") + detail).toStdString()), kind(kind), file(file),
      detail(detail)
{
}

QString PaperFileError::reason() const
{
    if (kind == EndInsideRecord)
        return QStringLiteral("紙面ファイル %1 が途中で終わっています").arg(file);
    if (kind == Undecodable)
        return QStringLiteral("紙面ファイル %1 の %2 行目に読めない文字が有ります").arg(file, detail);
    // The system's text (in English) goes to the log, not to the user.
    if (!detail.isEmpty())
        qWarning("paper file %s: %s", qUtf8Printable(file), qUtf8Printable(detail));
    return QStringLiteral("紙面ファイル %1 を読み込めません").arg(file);
}

namespace {

inline bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Double-byte characters of code page 932 by lead and trail byte, 0 where the
// pair names no character. The table is read once from the system's
// windows-31j converter, pair by pair, so that its single-byte quirks (it
// swaps 0x1A, 0x1C and 0x7F and turns unmapped bytes into U+001A) never reach
// a paper's text.
bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

const std::vector<char16_t> &doubleByteTable()
{
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(256 * 256, 0);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(trail))
                    continue;
                const char pair[2] = {char(lead), char(trail)};
                QStringDecoder decoder("windows-31j");
                const QString one = decoder.decode(QByteArrayView(pair, 2));
                if (!decoder.hasError() && one.size() == 1 && one.at(0).unicode() != 0xFFFD
                    && one.at(0).unicode() >= 0x80)
                    t[lead * 256 + trail] = one.at(0).unicode();
            }
        }
        return t;
    }();
    return table;
}

// The single bytes that code page 932 gives no character of the JIS sets but
// still a meaning: 0x80 stands for U+0080, 0xA0 and 0xFD to 0xFF for
// U+F8F0 to U+F8F3.
char16_t singleByte(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xA1 && b <= 0xDF)
        return char16_t(0xFF61 + (b - 0xA1));   // half-width katakana
    if (b == 0x80)
        return 0x0080;
    if (b == 0xA0)
        return 0xF8F0;
    if (b >= 0xFD)
        return char16_t(0xF8F1 + (b - 0xFD));
    return 0;
}

} // namespace

QString decodeCp932(QByteArrayView bytes, qsizetype *badOffset)
{
    const std::vector<char16_t> &pairs = doubleByteTable();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    qsizetype n = 0;
    qsizetype bad = -1;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Runs of ASCII, most of a paper, are widened eight bytes at a time.
        quint64 eight;
        while (i + 8 <= size && (std::memcpy(&eight, in + i, 8), (eight & 0x8080808080808080ULL) == 0)) {
#if defined(__SSE2__)
            const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(in + i));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + n), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
#else
            for (int k = 0; k < 8; ++k)
                out[n + k] = in[i + k];
#endif
            n += 8;
            i += 8;
        }
        if (i == size)
            break;
        const unsigned char b = in[i];
        if (b < 0x80) {
            out[n++] = b;
            continue;
        }
        if (isLeadByte(b)) {
            const char16_t c = i + 1 < size && isTrailByte(in[i + 1]) ? pairs[b * 256 + in[i + 1]] : 0;
            if (c) {
                out[n++] = c;
                ++i;
                continue;
            }
            // Undecodable: a pair that names no character counts as one, a
            // lead byte without a second byte alone (the next byte is then
            // read on its own).
            if (bad < 0)
                bad = i;
            out[n++] = 0xFFFD;
            if (i + 1 < size && isTrailByte(in[i + 1]))
                ++i;
            continue;
        }
        out[n++] = singleByte(b);
    }
    text.truncate(n);
    if (badOffset)
        *badOffset = bad;
    return text;
}

PaperReader::PaperReader(QString text, QString fileName)
    : text_(std::move(text)), fileName_(std::move(fileName))
{
    // An end-of-file mark (Ctrl-Z) with nothing but blanks, line ends and
    // further marks after it ends the text.
    qsizetype cut = -1;
    for (qsizetype i = text_.size(); i > 0; --i) {
        const QChar c = text_.at(i - 1);
        if (c == QChar(0x1A))
            cut = i - 1;
        else if (!isBlank(c) && !isLineEnd(c))
            break;
    }
    if (cut >= 0)
        text_.truncate(cut);
}

PaperReader PaperReader::fromBytes(const QByteArray &bytes, const QString &fileName)
{
    qsizetype bad = -1;
    QString text = decodeCp932(bytes, &bad);
    if (bad >= 0) {
        const qsizetype line = QByteArrayView(bytes).first(bad).count('\n') + 1;
        throw PaperFileError(PaperFileError::Undecodable, fileName, QString::number(line));
    }
    return PaperReader(std::move(text), fileName);
}

QByteArray readPaperFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PaperFileError(PaperFileError::Unreadable, name, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PaperFileError(PaperFileError::Unreadable, name, file.errorString());
    return bytes;
}

PaperReader PaperReader::fromFile(const QString &path)
{
    return fromBytes(readPaperFile(path), QFileInfo(path).fileName());
}

bool PaperReader::atEnd() const
{
    for (qsizetype i = pos_; i < text_.size(); ++i) {
        const QChar c = text_.at(i);
        if (!isBlank(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

// Inline: it runs once per field of every record.
Q_ALWAYS_INLINE bool PaperReader::readField(QStringView &out)
{
    const char16_t *const text = reinterpret_cast<const char16_t *>(text_.constData());
    const qsizetype end = text_.size();
    if (pos_ >= end && !afterComma_)
        return false;
    afterComma_ = false;

    auto endsField = [&](qsizetype i) { return text[i] == u',' || isLineEnd(text[i]); };

    qsizetype p = pos_;
    while (p < end && isBlank(text[p]))
        ++p;

    if (p < end && text[p] == u'"') {
        // Quoted: the value runs to the next double quote, line ends and
        // commas included; what follows the closing quote up to the next
        // separator is dropped.
        const qsizetype close = text_.indexOf(u'"', p + 1);
        if (close < 0)
            return false;   // the file ends inside the quoted field
        out = QStringView(text + p + 1, close - p - 1);
        p = close + 1;
        while (p < end && !endsField(p))
            ++p;
    } else {
        const qsizetype start = pos_;
        while (p < end && !endsField(p))
            ++p;
        out = QStringView(text + start, p - start);
    }

    // Consume the separator: a comma, or one line end (CR LF, CR or LF).
    if (p < end) {
        const char16_t c = text[p];
        if (c == u',') {
            ++p;
            afterComma_ = true;
        } else if (c == u'\r') {
            ++p;
            if (p < end && text[p] == u'\n')
                ++p;
        } else if (c == u'\n') {
            ++p;
        }
    }
    pos_ = p;
    return true;
}

void PaperReader::readRecord(int count, std::vector<QStringView> &fields)
{
    fields.resize(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        if (!readField(fields[i]))
            throw PaperFileError(PaperFileError::EndInsideRecord, fileName_);
    }
}

} // namespace kelmon
