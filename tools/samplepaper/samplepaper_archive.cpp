// Writers for the containers of a sample paper: the LHA archive (stored
// method, header levels 0 to 2), small GIF pictures and the archive name.

#include "samplepaper.h"

#include <QHash>
#include <QMutex>
#include <QStringEncoder>

#include <array>

namespace kelmon {

namespace {

void putLe16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void putLe32(QByteArray &out, quint32 v)
{
    putLe16(out, v & 0xffff);
    putLe16(out, v >> 16);
}

void setLe16(QByteArray &out, qsizetype at, quint32 v)
{
    out[at] = char(v & 0xff);
    out[at + 1] = char((v >> 8) & 0xff);
}

const std::array<quint16, 256> &crcTable()
{
    static const std::array<quint16, 256> table = [] {
        std::array<quint16, 256> t{};
        for (int i = 0; i < 256; ++i) {
            quint16 c = quint16(i);
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? quint16((c >> 1) ^ 0xA001) : quint16(c >> 1);
            t[i] = c;
        }
        return t;
    }();
    return table;
}

quint32 dosTime(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    const int year = qBound(1980, d.year(), 2107);
    return (quint32(year - 1980) << 25) | (quint32(d.month()) << 21) | (quint32(d.day()) << 16)
        | (quint32(t.hour()) << 11) | (quint32(t.minute()) << 5) | quint32(t.second() / 2);
}

QByteArray encodedName(const QString &name)
{
    QStringEncoder enc("windows-31j");
    QByteArray bytes = enc.encode(name);
    // Names longer than one byte-sized length field cannot be written.
    return bytes.left(200);
}

void appendEntry(QByteArray &out, const LhaEntry &e, int level)
{
    const QByteArray name = encodedName(e.name);
    const quint16 crc = lhaCrc16(e.data.constData(), e.data.size());
    const quint32 size = quint32(e.data.size());
    const QDateTime when = e.modified.isValid() ? e.modified : QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    const qsizetype start = out.size();

    if (level == 0 || level == 1) {
        out.append(char(0));          // header size, set below
        out.append(char(0));          // header checksum, set below
        out.append("-lh0-", 5);
        putLe32(out, size);           // packed size (level 1: no extended headers follow)
        putLe32(out, size);           // original size
        putLe32(out, dosTime(when));
        out.append(char(0x20));       // archive attribute
        out.append(char(level));
        out.append(char(name.size()));
        out.append(name);
        putLe16(out, crc);
        if (level == 1) {
            out.append('M');          // made on MS-DOS
            putLe16(out, 0);          // no extended header
        }
        const qsizetype headerSize = out.size() - start - 2;
        out[start] = char(headerSize);
        quint8 sum = 0;
        for (qsizetype i = start + 2; i < out.size(); ++i)
            sum = quint8(sum + quint8(out[i]));
        out[start + 1] = char(sum);
    } else {
        putLe16(out, 0);              // total header size, set below
        out.append("-lh0-", 5);
        putLe32(out, size);
        putLe32(out, size);
        putLe32(out, quint32(when.toSecsSinceEpoch()));
        out.append(char(0x20));
        out.append(char(2));
        putLe16(out, crc);
        out.append('M');
        // Extended headers: header CRC (type 0), file name (type 1), end.
        putLe16(out, 5);
        out.append(char(0x00));
        const qsizetype headerCrcAt = out.size();
        putLe16(out, 0);
        putLe16(out, quint32(3 + name.size()));
        out.append(char(0x01));
        out.append(name);
        putLe16(out, 0);
        const qsizetype headerSize = out.size() - start;
        setLe16(out, start, quint32(headerSize));
        setLe16(out, headerCrcAt, lhaCrc16(out.constData() + start, headerSize));
    }
    out.append(e.data);
}

} // namespace

quint16 lhaCrc16(const char *data, qsizetype size, quint16 crc)
{
    const auto &table = crcTable();
    for (qsizetype i = 0; i < size; ++i)
        crc = quint16((crc >> 8) ^ table[(crc ^ quint8(data[i])) & 0xff]);
    return crc;
}

QByteArray buildLzhArchive(const QList<LhaEntry> &entries, int headerLevel)
{
    const int level = qBound(0, headerLevel, 2);
    QByteArray out;
    qsizetype total = 0;
    for (const auto &e : entries)
        total += e.data.size() + 64;
    out.reserve(total + 1);
    for (const auto &e : entries)
        appendEntry(out, e, level);
    out.append(char(0));              // end of archive
    return out;
}

QByteArray buildGif(int width, int height, const QList<QRgb> &palette, const QByteArray &pixels)
{
    // Colour table of 2^(s+1) entries holding the palette.
    int s = 0;
    while ((2 << s) < palette.size() && s < 7)
        ++s;
    const int tableSize = 2 << s;
    const int minCode = qMax(2, s + 1);

    QByteArray out("GIF89a");
    putLe16(out, quint32(width));
    putLe16(out, quint32(height));
    out.append(char(0x80 | (7 << 4) | s));
    out.append(char(0));              // background colour index
    out.append(char(0));              // square pixels
    for (int i = 0; i < tableSize; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2C));           // image descriptor
    putLe16(out, 0);
    putLe16(out, 0);
    putLe16(out, quint32(width));
    putLe16(out, quint32(height));
    out.append(char(0));
    out.append(char(minCode));

    // Every pixel is sent as a literal code; a clear code before the table
    // would grow keeps the code width fixed, so no compression is needed.
    const int clear = 1 << minCode;
    const int endCode = clear + 1;
    const int codeBits = minCode + 1;
    const int run = clear - 2;
    QByteArray codes;
    quint32 acc = 0;
    int accBits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << accBits;
        accBits += codeBits;
        while (accBits >= 8) {
            codes.append(char(acc & 0xff));
            acc >>= 8;
            accBits -= 8;
        }
    };
    const qsizetype count = qsizetype(width) * height;
    for (qsizetype i = 0; i < count; ++i) {
        if (i % run == 0)
            put(clear);
        const int index = i < pixels.size() ? quint8(pixels[i]) : 0;
        put(index & (clear - 1));
    }
    put(endCode);
    if (accBits > 0)
        codes.append(char(acc & 0xff));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype n = qMin<qsizetype>(255, codes.size() - at);
        out.append(char(n));
        out.append(codes.constData() + at, n);
    }
    out.append(char(0));              // end of image data
    out.append(char(0x3B));           // trailer
    return out;
}

QByteArray racerPhotoGif(int tourokuno)
{
    // The same racer always gets the same picture; keep the few thousand
    // made so far, since a benchmark writes the same racers many times.
    static QMutex lock;
    static QHash<int, QByteArray> made;
    {
        QMutexLocker locker(&lock);
        const auto it = made.constFind(tourokuno);
        if (it != made.cend())
            return it.value();
    }
    const int w = 30;
    const int h = 40;
    quint32 x = quint32(tourokuno) * 2654435761u;
    auto pick = [&x](int n) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return int(x % quint32(n));
    };
    const QList<QRgb> palette = {
        qRgb(160 + pick(80), 190 + pick(60), 220),   // 0 background
        qRgb(240, 205 - pick(30), 175 - pick(30)),   // 1 face
        qRgb(20 + pick(60), 15 + pick(30), 10),      // 2 hair
        qRgb(pick(200), pick(200), 120 + pick(130)), // 3 racing suit
        qRgb(30, 30, 30),                            // 4 eyes and mouth
    };
    QByteArray px(w * h, char(0));
    const double cx = w / 2.0, cy = 15.0, rx = 8.5, ry = 10.5;
    for (int y = 0; y < h; ++y) {
        for (int col = 0; col < w; ++col) {
            const double dx = (col + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            char c = 0;
            if (y >= 28 && qAbs(col + 0.5 - cx) < 4 + (y - 28) * 1.2)
                c = 3;
            else if (dx * dx + dy * dy <= 1.0)
                c = (y < 9) ? 2 : 1;
            px[y * w + col] = c;
        }
    }
    px[14 * w + 11] = px[14 * w + 18] = char(4);
    for (int col = 13; col <= 16; ++col)
        px[21 * w + col] = char(4);
    // Drawn on a 30 x 40 raster, stored at twice that size, about the size
    // of the photo place of the racer detail.
    constexpr int scale = 2;
    QByteArray big(w * h * scale * scale, char(0));
    for (int y = 0; y < h * scale; ++y)
        for (int col = 0; col < w * scale; ++col)
            big[y * w * scale + col] = px[y / scale * w + col / scale];
    const QByteArray gif = buildGif(w * scale, h * scale, palette, big);
    QMutexLocker locker(&lock);
    if (made.size() < 10000)
        made.insert(tourokuno, gif);
    return gif;
}

QString paperArchiveName(const QDate &date, int venue, int dayKind, int grade)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
    QString name = QString::asprintf("%02d", date.year() % 100);
    name += QChar(digits[qBound(1, date.month(), 12)]);
    name += QChar(digits[qBound(1, date.day(), 31)]);
    name += QChar('1');
    name += QChar(char('a' + qBound(1, venue, 24) - 1));
    name += QChar(char('0' + qBound(0, dayKind, 9)));
    name += QChar(char('0' + qBound(0, grade, 9)));
    return name + QStringLiteral(".lzh");
}

int paperDayKind(int day, int days)
{
    if (day <= 1)
        return 1;
    if (day >= days)
        return 5;
    if (day == days - 1)
        return 4;
    if (day == days - 2)
        return 3;
    return 2;
}

} // namespace kelmon
