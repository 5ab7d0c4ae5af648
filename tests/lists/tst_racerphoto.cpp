// The racer's photo: a GIF whose image data would yield more pixels than its
// frames hold is not decoded; GIFs as encoders write them load whole. The
// GIFs are written here code by code.

#include "lists/racerdisp.h"
#include "samplepaper/samplepaper.h"

#include <QTemporaryDir>
#include <QtTest>

#include <map>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

QByteArray le16(int v) { return QByteArray(1, char(v & 0xff)) + char(v >> 8); }

// 2 << bits colours, each told from the others.
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

QByteArray screen(int w, int h, int bits = 1)
{
    return "GIF89a" + le16(w) + le16(h) + char(0x80 | bits) + QByteArray(2, 0) + colourTable(bits);
}

// LZW codes, least significant bit first, each as wide as the decoder reads
// it: it adds an entry for every code but the first after a clear, and reads
// one bit more once its next entry needs it, up to 12.
struct Codes {
    explicit Codes(int minBits) : minBits(minBits), clear(1 << minBits), next(clear + 2), bits(minBits + 1) {}
    // The code `times` over; -1 for the entry the decoder adds on reading it,
    // which after one colour yields 2, 3, 4 ... pixels.
    Codes &put(int code, int times = 1)
    {
        while (times-- > 0) {
            const int c = code < 0 ? next : code;
            acc |= quint32(c) << held;
            for (held += bits; held >= 8; held -= 8, acc >>= 8)
                data += char(acc & 0xff);
            if (c == clear) {
                next = clear + 2;
                bits = minBits + 1;
            } else if (c != clear + 1 && last != clear && next < 4096 && ++next >= 1 << bits && bits < 12)
                ++bits;
            last = c;
        }
        return *this;
    }
    QByteArray bytes() const { return held ? data + char(acc & 0xff) : data; }

    int minBits, clear, next, bits, last = clear;
    QByteArray data;
    quint32 acc = 0;
    int held = 0;
};

// A w x h frame at the top left, with its own colour table for localBits >= 0.
QByteArray frame(int w, int h, const Codes &codes, int localBits = -1)
{
    return ',' + le16(0) + le16(0) + le16(w) + le16(h) + char(localBits < 0 ? 0 : 0x80 | localBits)
        + (localBits < 0 ? QByteArray() : colourTable(localBits)) + char(codes.minBits) + subBlocks(codes.bytes());
}

// `count` colour indexes below `colours`, from a fixed pseudo-random
// sequence, compressed the way encoders do: the longest string the table
// holds, then a new entry for it and the next index. A full table is either
// cleared or kept to the end.
Codes compress(int count, int colours, int minBits, bool clearWhenFull)
{
    QRandomGenerator random(12);
    Codes out(minBits);
    out.put(out.clear);
    std::map<std::pair<int, int>, int> table;
    int prefix = random.bounded(colours);
    while (--count > 0) {
        const int c = random.bounded(colours);
        if (const auto it = table.find({prefix, c}); it != table.end()) {
            prefix = it->second;
            continue;
        }
        out.put(prefix);
        if (const int entry = out.clear + 2 + int(table.size()); entry < 4096)
            table[{prefix, c}] = entry;
        else if (clearWhenFull) {
            out.put(out.clear);
            table.clear();
        }
        prefix = c;
    }
    return out.put(prefix).put(out.clear + 1);
}

} // namespace

class TestRacerPhoto : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void photoUnlessItsCodesOverrunAFrame_data()
    {
        QTest::addColumn<QByteArray>("gif");
        QTest::addColumn<bool>("shown");   // whole, as decoded without the bound
        const auto codes = [](int minBits = 2) { return Codes(minBits).put(1 << minBits); };
        const auto gif = [](int side, const Codes &c) { return screen(side, side) + frame(side, side, c) + ';'; };
        // Within 1 MiB: the table grown to its longest entry, then that
        // entry's code over and over, some 4000 pixels each.
        QTest::newRow("one long code repeated") << gif(16, codes().put(0).put(-1, 4090).put(4095, 689000).put(5))
                                                << false;
        QTest::newRow("16 colours for 4 x 4") << gif(4, codes().put(1, 16).put(5)) << true;
        QTest::newRow("17 colours for 4 x 4") << gif(4, codes().put(1, 17).put(5)) << false;
        // 1 + 2 + ... + 8 = 36 pixels, + 9 = 45.
        QTest::newRow("entries filling 6 x 6") << gif(6, codes().put(3).put(-1, 7).put(5)) << true;
        QTest::newRow("entries past 6 x 6") << gif(6, codes().put(3).put(-1, 8).put(5)) << false;
        // A clear code starts the table afresh, not the frame: 10 + 10 pixels.
        QTest::newRow("past 4 x 4 over a clear") << gif(4, codes().put(1).put(-1, 3).put(4).put(2).put(-1, 3).put(5))
                                                 << false;
        QTest::newRow("past the end code") << gif(4, codes().put(2, 16).put(5).put(-1, 200)) << true;
        QTest::newRow("no end code") << gif(4, codes().put(2, 16)) << true;
        QTest::newRow("second frame past its end") << screen(4, 4) + frame(4, 4, codes().put(2, 16).put(5))
                + frame(2, 2, codes().put(1).put(-1, 2).put(5)) + ';' << false;
        QTest::newRow("first code no colour") << gif(4, codes().put(6).put(5)) << false;
        QTest::newRow("code past the next entry") << gif(4, codes().put(1).put(7).put(5)) << false;
        QTest::newRow("9-bit colour indexes") << gif(4, codes(9).put(1, 16).put(513)) << false;
        // The decoder takes the 0x3b after an empty first sub-block for a
        // length and comes to the frame behind it.
        QTest::newRow("empty graphic control") << screen(4, 4) + "\x21\xf9" + QByteArray(1, 0) + ";"
                + QByteArray(0x3b, 'x') + QByteArray(1, 0) + frame(4, 4, codes().put(1).put(-1, 30)) + ';'
                                               << false;
        QTest::newRow("empty application block") << screen(4, 4) + "\x21\xff" + QByteArray(1, 0) + ";"
                + QByteArray(0x3b, 'x') + QByteArray(1, 0) + frame(4, 4, codes().put(1).put(-1, 30)) + ';'
                                                 << false;
        // Behind an empty first sub-block, a ',' starts a block of 44 bytes the
        // decoder passes over; read as a frame, it is 1 x 1 with 2 pixels.
        const QByteArray passedOver = frame(1, 1, codes().put(1, 2)).leftJustified(1 + ',', 'x') + '\0';
        for (const char *label : {"\xf9", "\xff"})
            QTest::addRow("16 colours for 4 x 4 behind an empty %s", *label == '\xf9' ? "graphic control" : "application block")
                << screen(4, 4) + "\x21" + label + QByteArray(1, 0) + passedOver + frame(4, 4, codes().put(1, 16).put(5)) + ';'
                << true;
        for (const bool clear : {false, true})
            QTest::addRow("full table %s", clear ? "cleared" : "kept")
                << screen(200, 150, 3) + frame(200, 150, compress(200 * 150, 16, 4, clear)) + ';' << true;
        // Looping, graphic control and comment extensions; a second frame
        // with its own 256 colours.
        const QByteArray control = "\x21\xf9\x04\x04\x0a" + QByteArray(3, 0);
        const QByteArray looping = "\x21\xff\x0bNETSCAPE2.0\x03\x01" + le16(0) + QByteArray(1, 0);
        QTest::newRow("frames and extensions")
            << screen(64, 64, 7) + looping + "\x21\xf9\x04" + QByteArray(5, 0)
                + frame(64, 64, compress(64 * 64, 256, 8, false)) + "\x21\xfe" + subBlocks("racer") + control
                + frame(64, 64, compress(64 * 64, 200, 8, true), 7) + ';'
            << true;
        // The bound holds behind another frame, behind each kind of
        // extension (a graphic control, a looping block, a comment of three
        // sub-blocks) and in an animation with all of them and an empty
        // comment, on its second frame.
        const QByteArray comment = "\x21\xfe" + subBlocks(QByteArray(600, 'c'));
        const QByteArray first = frame(4, 4, codes().put(2, 16).put(5));
        const std::pair<const char *, QByteArray> extensions[] = {{"a frame", first},
            {"a graphic control", control}, {"a looping block", looping}, {"a comment", comment},
            {"extensions, second frame", looping + control + first + comment + "\x21\xfe" + subBlocks({}) + control}};
        for (const auto &[name, before] : extensions)
            for (const int colours : {16, 17})
                QTest::addRow("%d colours for 4 x 4 behind %s", colours, name)
                    << screen(4, 4) + before + frame(4, 4, codes().put(1, colours).put(5)) + ';' << (colours == 16);
        QTest::newRow("sample paper's photo") << racerPhotoGif(4012) << true;
    }
    void photoUnlessItsCodesOverrunAFrame()
    {
        QFETCH(QByteArray, gif);
        QFile f(dir.filePath("photo.gif"));
        QVERIFY(gif.size() <= 1 << 20 && f.open(QIODevice::WriteOnly) && f.write(gif) == gif.size());
        f.close();
        const QImage photo = loadRacerPhoto(f.fileName());
        QTEST(!photo.isNull(), "shown");
        if (!photo.isNull())
            QCOMPARE(photo, QImage::fromData(gif, "GIF"));
    }
};

QTEST_GUILESS_MAIN(TestRacerPhoto)
#include "tst_racerphoto.moc"
