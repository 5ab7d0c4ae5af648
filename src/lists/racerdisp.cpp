#include "lists/racerdisp.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "platform/archive.h"
#include "platform/gridmoves.h"
#include "platform/gridpopup.h"
#include "racedetails/resultrow.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <array>

namespace kelmon::lists {

namespace {

struct RestbColumn {
    const char16_t *header;
    int width;
};
const RestbColumn kRestbColumns[kRestbCols] = {
    {u"日程", 540}, {u"Ｒ", 280},   {u"枠", 280},   {u"着順", 740}, {u"タイム", 660}, {u"進入", 460}, {u"ST", 300},
    {u"チルト", 640}, {u"展示", 450}, {u"減点", 1160}, {u"", 0},     {u"", 0},      {u"", 0},      {u"", 0},
};
constexpr int kPenaltyCol = 9;
constexpr int kFirstLeftCol = 9;
constexpr int kTintedFirst = 1;
constexpr int kTintedLast = 9;

// The largest width and height a photo may declare. The photo's place in the
// racer window, left of the title and memo lines and above the grid, is about
// 111 by 80 pixels, and the window itself 414 by 237; a real photo fits the
// place several times over within 512 by 512, which decodes to at most 1 MiB.
constexpr int maxPhotoSide = 512;

double number(const QSqlQuery &q, const char *field) { return q.value(QLatin1String(field)).toDouble(); }

// Whether the LZW codes of one frame's image data, its sub-blocks from `at`
// on, yield at most `pixels` pixels; `at` is left after the data. The codes
// are only read, never expanded: a code yields as many pixels as its entry in
// the code table is long, which the table's growth alone gives. The decoder
// works on every code it reads, into pixels past the frame too, until the end
// code; a code that yields more than the frame holds is what makes a few
// hundred kilobytes take it seconds. A first code that is no colour index, or
// a code past the next entry, would read entries the table does not hold.
bool frameCodesFit(const uchar *gif, qsizetype size, qsizetype &at, int minCodeBits, qint64 pixels)
{
    constexpr int maxEntries = 4096;   // codes have at most 12 bits
    const int clear = 1 << minCodeBits;
    const int end = clear + 1;
    std::array<quint16, maxEntries> length;
    std::fill_n(length.begin(), clear, 1);
    int next = clear + 2;
    int codeBits = minCodeBits + 1;
    int previous = -1;   // none: the next code starts the table afresh
    bool ended = false;
    quint32 bits = 0;
    int held = 0;
    qint64 yielded = 0;
    while (at < size) {
        const qsizetype blockEnd = std::min(size, at + 1 + gif[at]);
        if (gif[at++] == 0)
            return true;
        for (; at < blockEnd && !ended; ++at) {
            bits |= quint32(gif[at]) << held;
            for (held += 8; held >= codeBits && !ended;) {
                const int code = int(bits & ((1u << codeBits) - 1));
                bits >>= codeBits;
                held -= codeBits;
                if (code == clear) {
                    next = clear + 2;
                    codeBits = minCodeBits + 1;
                    previous = -1;
                    continue;
                }
                ended = code == end;
                if (ended)
                    continue;
                if (previous < 0 ? code >= clear : code > next)
                    return false;
                if (previous < 0)
                    yielded += 1;
                else {
                    yielded += code == next ? length[previous] + 1 : length[code];
                    if (next < maxEntries) {
                        length[next++] = length[previous] + 1;
                        if (next >= 1 << codeBits && codeBits < 12)
                            ++codeBits;
                    }
                }
                if (yielded > pixels)
                    return false;
                previous = code;
            }
        }
        at = blockEnd;   // the data after the end code is read by no one
    }
    return true;
}

// Whether every frame of a GIF yields no more pixels than its width times its
// height, read block by block as the decoder reads them. The walk ends where
// the decoder's does: at the trailer, at a byte that starts no block, or at
// the end of the data. The decoder reads a graphic-control or application
// extension's first sub-block whatever its length, an empty one too, and then
// sub-blocks up to an empty one: after an empty first sub-block the next byte
// is a length, and the blocks it starts are passed over, not read as frames.
bool gifCodesFitFrames(const QByteArray &bytes)
{
    const auto *gif = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype at = 13;   // header and logical screen
    const auto skipColourTable = [&](uchar flags) {
        if (flags & 0x80)
            at += 3 * (2 << (flags & 7));
    };
    if (size < at)
        return false;
    skipColourTable(gif[10]);
    while (at < size) {
        const uchar introducer = gif[at++];
        if (introducer == 0x21 && at + 1 < size) {
            const uchar label = gif[at++];
            if ((label == 0xf9 || label == 0xff) && gif[at] == 0)
                ++at;
            while (at < size && gif[at] != 0)
                at += 1 + gif[at];
            ++at;
        } else if (introducer == 0x2c && at + 9 < size) {
            const qint64 pixels = qint64(gif[at + 4] | gif[at + 5] << 8) * (gif[at + 6] | gif[at + 7] << 8);
            at += 8;
            skipColourTable(gif[at++]);
            if (at >= size)
                return true;
            // Colour indexes have at most 8 bits.
            const int minCodeBits = gif[at++];
            if (minCodeBits > 8 || !frameCodesFit(gif, size, at, minCodeBits, pixels))
                return false;
        } else
            return true;
    }
    return true;
}

} // namespace

RacerHeader loadRacerHeader(const QString &setuscode, const QString &tourokuno)
{
    RacerHeader h;
    h.number = format(val(tourokuno), "0000");
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from f_racer where setuscode = ? and tourokuno = ? "
                                                 "order by datescnt desc limit 1"),
                                  {modkelmon::keyValue(setuscode), modkelmon::keyValue(tourokuno)});
    if (!q.next())
        return h;
    h.found = true;
    h.name = trimBlanks(q.value(QStringLiteral("sensyname")).toString());
    h.memo[0] = format(plainNumber(number(q, "tourokuki")), "@@") + QStringLiteral("期 ")
        + modkelmon::get_pref_name(cint16(number(q, "adress")));
    h.memo[1] = q.value(QStringLiteral("classcode_ge")).toString() + QStringLiteral("級  勝率 ")
        + format(number(q, "syoritu_ge"), "0.00") + QStringLiteral(" 2連対率")
        + format(plainNumber(number(q, "fukuritu_ge")), "@@@") + QStringLiteral("％");
    h.memo[2] = QStringLiteral("最近1年間  勝率 ") + format(number(q, "syoritu_zk"), "0.00") + QStringLiteral(" 2連対率")
        + format(plainNumber(number(q, "fukuritu_zk")), "@@@") + QStringLiteral("％");
    return h;
}

void set_restb_grid(GridModel &grid)
{
    grid.reset();
    grid.setCols(kRestbCols);
    grid.setRows(2);
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    grid.setRows(1);
    grid.setMergeMode(GridMerge::Free);
    grid.setMergeCol(0, true);
    grid.setRowHeight(0, 260);
    for (int c = 0; c < kRestbCols; ++c) {
        grid.setColWidth(c, kRestbColumns[c].width);
        grid.setColAlignment(c, c < kFirstLeftCol ? GridAlign::CenterCenter : GridAlign::LeftCenter);
        grid.setText(0, c, QString::fromUtf16(kRestbColumns[c].header));
    }
}

void disp_restb(GridModel &grid, const QString &setuscode, const QString &tourokuno)
{
    set_restb_grid(grid);
    const QVariant meeting = modkelmon::keyValue(setuscode);
    QSqlQuery q = modkelmon::exec(QStringLiteral("select * from f_restb where setuscode = ? and tourokuno = ? "
                                                 "order by datescnt , racesno"),
                                  {meeting, modkelmon::keyValue(tourokuno)});
    // The date of each day of the meeting, read once per day.
    QHash<int, QString> dates;
    while (q.next()) {
        const racedetails::RestbRow run = racedetails::RestbRow::fromRecord(q.record());
        const int row = grid.rows();
        grid.setRows(row + 1);
        grid.setRow(row);
        if (const std::optional<QRgb> tint = modkelmon::get_wakucolor(run.wakusno))
            for (int c = kTintedFirst; c <= kTintedLast; ++c)
                grid.setBackColor(row, c, *tint);
        const QString texts[kRestbCols - 1] = {
            modkelmon::dayOfMeetingText(run.datescnt), format(QString::number(run.racesno), "@@"),
            QString::number(run.wakusno), racedetails::resultText(run), racedetails::raceTimeText(run),
            racedetails::courseText(run), racedetails::startText(run), racedetails::tiltText(run),
            racedetails::exhibitionText(run), racedetails::penaltyText(run), racedetails::rawResult(run),
            racedetails::rawRaceTime(run), racedetails::signedTilt(run)};
        for (int c = 0; c < kRestbCols - 1; ++c)
            grid.setText(row, c, texts[c]);
        auto it = dates.find(run.datescnt);
        if (it == dates.end()) {
            const QVariant date = modkelmon::scalar(
                QStringLiteral("select \"Date\" from f_resta where setuscode = ? and datescnt = ? limit 1"),
                {meeting, run.datescnt});
            it = dates.insert(run.datescnt, date.isValid() ? date.toString() : QString());
        }
        grid.setText(row, kRestbCols - 1, it.value());
    }
    q.finish();
    startAtFirstDataRow(grid);
}

std::optional<PopupItems> racerDetailPopup(const GridModel &grid, bool resultWindow)
{
    if (grid.rows() <= 1)
        return std::nullopt;
    const int col = grid.col();
    const bool sortable = col != kPenaltyCol;
    // The result item opens only a real day and race of the meeting.
    const bool result = resultWindow && gridpopup::racerResult(grid).has_value();
    return PopupItems{{0, sortable}, {1, sortable}, {2, col == 6 || col == 8}, {4, result}};
}

QString racerPhotoPath(const QString &tourokuno)
{
    return pathInFolder(photoFolder(), format(val(tourokuno), "0000") + QStringLiteral(".gif"));
}

QImage loadRacerPhoto(const QString &path)
{
    // Only a regular file no larger than registration takes a photo is read:
    // a named pipe would hold the window, a device or a huge file its memory.
    std::optional<QByteArray> bytes = readRegularFile(path, maxPhotoBytes);
    if (!bytes)
        return QImage();
    QBuffer file(&*bytes);
    QImageReader reader(&file, "gif");
    // The file must be a GIF by its content, whatever else Qt could read.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead())
        return QImage();
    // The sizes the file declares are what decoding would allocate, whatever
    // its length: a photo that could not stand in the racer window is no racer
    // photo and is not decoded. Decoding a GIF allocates its logical screen
    // (bytes 6 to 9, little-endian width and height), while the reader gives
    // the first frame's size and passes over a screen much larger than the
    // frame; both are bounded. A screen of 0 takes the frame's size.
    const auto side = [&](int at) { return quint8(bytes->at(at)) | quint8(bytes->at(at + 1)) << 8; };
    const QSize size = reader.size();
    if (bytes->size() < 10 || side(6) > maxPhotoSide || side(8) > maxPhotoSide || !size.isValid()
        || size.width() > maxPhotoSide || size.height() > maxPhotoSide || !gifCodesFitFrames(*bytes))
        return QImage();
    return reader.read();
}

} // namespace kelmon::lists
