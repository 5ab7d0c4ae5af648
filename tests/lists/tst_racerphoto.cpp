// The racer's photo: a GIF whose image data would yield more pixels than its
// frames hold is not decoded; photos as encoders write them (one or several
// frames, local colour tables, extensions, a full code table with or without
// a clear code) load whole. The GIFs are written here code by code.

#include "lists/racerdisp.h"
#include "samplepaper/samplepaper.h"

#include <QTemporaryDir>
#include <QtTest>

#include <map>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

QByteArray le16(int v) { return QByteArray(1, char(v & 0xff)) + char(v >> 8); }

// A colour table of 2 << bits entries, each colour told from the others.
QByteArray colourTable(int bits)
{
    QByteArray table;
    for (int i = 0; i < 2 << bits; ++i)
        table += char(i) + QByteArray(1, char(255 - i)) + char(i * 37);
    return table;
}

QByteArray subBlocks(const QByteArray &data)
{
    QByteArray out;
    for (qsizetype at = 0; at < data.size(); at += 255)
        out += char(std::min<qsizetype>(255, data.size() - at)) + data.mid(at, 255);
    return out + '\0';
}

// Header and logical screen of w x h with a global table of 2 << bits colours.
QByteArray screen(int w, int h, int bits = 1)
{
    return "GIF89a" + le16(w) + le16(h) + char(0x80 | bits) + QByteArray(2, 0) + colourTable(bits);
}

// A frame of w x h at the top left; with localBits >= 0 its own colour table.
QByteArray frame(int w, int h, int minBits, const QByteArray &codes, int localBits = -1)
{
    return ',' + le16(0) + le16(0) + le16(w) + le16(h) + char(localBits < 0 ? 0 : 0x80 | localBits)
        + (localBits < 0 ? QByteArray() : colourTable(localBits)) + char(minBits) + subBlocks(codes);
}

// LZW codes, least significant bit first, each as wide as the decoder reads
// it: the decoder adds an entry for every code but the first after a clear,
// and reads one bit more once its next entry needs it, up to 12.
struct Codes {
    explicit Codes(int minBits) : minBits(minBits), clear(1 << minBits), next(clear + 2), bits(minBits + 1) {}
    Codes &put(int code)
    {
        acc |= quint32(code) << held;
        for (held += bits; held >= 8; held -= 8, acc >>= 8)
            data += char(acc & 0xff);
        if (code == clear) {
            next = clear + 2;
            bits = minBits + 1;
            first = true;
        } else if (code != clear + 1) {
            if (!first && next < 4096 && ++next >= 1 << bits && bits < 12)
                ++bits;
            first = false;
        }
        return *this;
    }
    // The code `code`, or the entry the decoder adds on reading it (-1):
    // after one colour these yield 2, 3, 4 ... pixels.
    Codes &repeat(int code, int times)
    {
        while (times-- > 0)
            put(code < 0 ? next : code);
        return *this;
    }
    QByteArray bytes() const { return held ? data + char(acc & 0xff) : data; }

    int minBits, clear, next, bits;
    bool first = true;
    QByteArray data;
    quint32 acc = 0;
    int held = 0;
};

// Compressed the way encoders do: the longest string the table holds, then
// a new entry for it and the next index. A full table is either cleared or
// kept to the end.
QByteArray compress(const QByteArray &pixels, int minBits, bool clearWhenFull)
{
    Codes out(minBits);
    out.put(out.clear);
    std::map<std::pair<int, int>, int> table;
    int next = out.clear + 2;
    int prefix = quint8(pixels[0]);
    for (qsizetype i = 1; i < pixels.size(); ++i) {
        const int c = quint8(pixels[i]);
        if (const auto it = table.find({prefix, c}); it != table.end()) {
            prefix = it->second;
            continue;
        }
        out.put(prefix);
        if (next < 4096)
            table[{prefix, c}] = next++;
        else if (clearWhenFull) {
            out.put(out.clear);
            table.clear();
            next = out.clear + 2;
        }
        prefix = c;
    }
    return out.put(prefix).put(out.clear + 1).bytes();
}

// Colour indexes below `colours`, from a fixed pseudo-random sequence.
QByteArray noise(int count, int colours)
{
    QByteArray pixels(count, 0);
    QRandomGenerator random(12);
    for (char &p : pixels)
        p = char(random.bounded(colours));
    return pixels;
}

} // namespace

class TestRacerPhoto : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // The photo's size, 0x0 for none; a photo shown is the whole first frame.
    void photoUnlessItsCodesOverrunAFrame_data()
    {
        QTest::addColumn<QByteArray>("gif");
        QTest::addColumn<QSize>("shown");
        const QByteArray s4 = screen(4, 4);
        auto codes = [] { return Codes(2).put(4); };
        // Within 1 MiB: the table grown to its longest entry, then that
        // entry's code over and over, some 4000 pixels each.
        QTest::newRow("one long code repeated")
            << screen(16, 16)
                + frame(16, 16, 2, codes().put(0).repeat(-1, 4090).repeat(4095, 689000).put(5).bytes()) + ';'
            << QSize();
        QTest::newRow("16 colours for 4 x 4") << s4 + frame(4, 4, 2, codes().repeat(1, 16).put(5).bytes()) + ';'
                                              << QSize(4, 4);
        QTest::newRow("17 colours for 4 x 4") << s4 + frame(4, 4, 2, codes().repeat(1, 17).put(5).bytes()) + ';'
                                              << QSize();
        // 1 + 2 + ... + 8 = 36 pixels, + 9 = 45.
        QTest::newRow("entries filling 6 x 6")
            << screen(6, 6) + frame(6, 6, 2, codes().put(3).repeat(-1, 7).put(5).bytes()) + ';' << QSize(6, 6);
        QTest::newRow("entries past 6 x 6")
            << screen(6, 6) + frame(6, 6, 2, codes().put(3).repeat(-1, 8).put(5).bytes()) + ';' << QSize();
        // A clear code starts the table afresh, not the frame: 10 + 10 pixels.
        QTest::newRow("past 4 x 4 over a clear")
            << s4 + frame(4, 4, 2, codes().put(1).repeat(-1, 3).put(4).put(2).repeat(-1, 3).put(5).bytes()) + ';'
            << QSize();
        QTest::newRow("past the end code")
            << s4 + frame(4, 4, 2, codes().repeat(2, 16).put(5).repeat(-1, 200).bytes()) + ';' << QSize(4, 4);
        QTest::newRow("no end code") << s4 + frame(4, 4, 2, codes().repeat(2, 16).bytes()) + ';' << QSize(4, 4);
        QTest::newRow("second frame past its end")
            << s4 + frame(4, 4, 2, codes().repeat(2, 16).put(5).bytes())
                + frame(2, 2, 2, codes().put(1).repeat(-1, 2).put(5).bytes()) + ';'
            << QSize();
        QTest::newRow("first code no colour") << s4 + frame(4, 4, 2, codes().put(6).put(5).bytes()) + ';' << QSize();
        QTest::newRow("code past the next entry")
            << s4 + frame(4, 4, 2, codes().put(1).put(7).put(5).bytes()) + ';' << QSize();
        // The decoder takes the 0x3b after an empty first sub-block for a
        // length and comes to the frame behind it.
        QTest::newRow("empty graphic control")
            << s4 + "\x21\xf9" + QByteArray(1, 0) + ";" + QByteArray(0x3b, 'x') + QByteArray(1, 0)
                + frame(4, 4, 2, codes().put(1).repeat(-1, 30).bytes()) + ';'
            << QSize();
        const QByteArray n200 = noise(200 * 150, 16);
        QTest::newRow("full table kept") << screen(200, 150, 3) + frame(200, 150, 4, compress(n200, 4, false)) + ';'
                                         << QSize(200, 150);
        QTest::newRow("full table cleared") << screen(200, 150, 3) + frame(200, 150, 4, compress(n200, 4, true)) + ';'
                                            << QSize(200, 150);
        // Looping, graphic control and comment extensions; a second frame
        // with its own 256 colours.
        QTest::newRow("frames and extensions")
            << screen(64, 64, 7) + "\x21\xff\x0bNETSCAPE2.0\x03\x01" + le16(0) + QByteArray(1, 0) + "\x21\xf9\x04"
                + QByteArray(5, 0) + frame(64, 64, 8, compress(noise(64 * 64, 256), 8, false)) + "\x21\xfe"
                + subBlocks("racer") + "\x21\xf9\x04\x04\x0a" + QByteArray(3, 0)
                + frame(64, 64, 8, compress(noise(64 * 64, 200), 8, true), 7) + ';'
            << QSize(64, 64);
        QTest::newRow("sample paper's photo") << racerPhotoGif(4012) << QSize(60, 80);
    }
    void photoUnlessItsCodesOverrunAFrame()
    {
        QFETCH(QByteArray, gif);
        QFETCH(QSize, shown);
        QFile f(dir.filePath("photo.gif"));
        QVERIFY(gif.size() <= 1 << 20 && f.open(QIODevice::WriteOnly) && f.write(gif) == gif.size());
        f.close();
        const QImage photo = loadRacerPhoto(f.fileName());
        QCOMPARE(photo.isNull() ? QSize() : photo.size(), shown);
        if (!photo.isNull())
            QCOMPARE(photo, QImage::fromData(gif, "GIF"));
    }
};

QTEST_GUILESS_MAIN(TestRacerPhoto)
#include "tst_racerphoto.moc"
