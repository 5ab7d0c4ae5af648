// Fuzz target: a body from the download server read as the answer of each
// request (log-in and list, reservation, acknowledgement), the list's titles
// decoded from the names it offers, and the body followed as an archive
// arriving in pieces.
//
// Input: the body as the server sent it. A finding is a crash or sanitizer
// report, an answer accepted against its own form (a count that is no number,
// an archive name that would leave the receive folder, an acknowledgement
// without its count), a title that breaks the list's fixed columns, or an
// archive verdict that depends on how the bytes were split.

#include "fuzzsupport.h"

#include "common/programfolder.h"
#include "download/papertitle.h"
#include "download/protocol.h"

#include <QDir>
#include <QFileInfo>

using namespace kelmon;

namespace {

bool isCount(const QString &count)
{
    if (count == QStringLiteral("∞"))
        return true;
    return !count.isEmpty()
        && std::all_of(count.begin(), count.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Venue (3), "  >> ", grade (2), " ", day name (5), "(yyyy/mm/dd)".
bool isTitle(const QString &title)
{
    return title.size() == 28 && title.mid(3, 5) == QLatin1String("  >> ") && title.at(10) == u' '
        && title.at(16) == u'(' && title.at(21) == u'/' && title.at(24) == u'/' && title.endsWith(u')');
}

QString verdict(const QByteArray &bytes, qsizetype piece)
{
    protocol::LhaStructure structure;
    fuzz::inPieces(bytes, piece, [&](QByteArrayView b) { structure.feed(b); });
    if (structure.complete() && structure.broken())
        fuzz::finding(QStringLiteral("archive both whole and broken"));
    return structure.complete() ? QStringLiteral("whole") : structure.broken() ? QStringLiteral("broken")
                                                                                 : QStringLiteral("unfinished");
}

} // namespace

KELMON_FUZZ_INITIALIZE_ONLY

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString answer = protocol::answerText(body);
    if (answer != answer.trimmed())
        fuzz::finding(QStringLiteral("answer not trimmed: %1").arg(answer));
    protocol::special(answer);

    const protocol::CheckAnswer list = protocol::readCheckAnswer(answer);
    if (list.valid) {
        if (!isCount(list.count) || list.sample != (list.count == QStringLiteral("∞"))
            || list.files.size() != answer.count(u','))
            fuzz::finding(QStringLiteral("list accepted: %1").arg(answer));
        for (const QString &file : list.files) {
            const QString title = comp_papertitle(file);
            if (title != QString::fromUtf16(kInvalidPaperName) && !isTitle(title))
                fuzz::finding(QStringLiteral("title of %1: %2").arg(file, title));
        }
    }

    const protocol::DwldfileAnswer reserved = protocol::readDwldfileAnswer(answer);
    if (reserved.valid) {
        const QString folder = fuzz::scratch();
        const QString path = pathInFolder(folder, reserved.name);
        if (QFileInfo(path).absolutePath() != QDir(folder).absolutePath() || !reserved.name.endsWith(u".lzh", Qt::CaseInsensitive)
            || reserved.name.contains(QChar(0)))
            fuzz::finding(QStringLiteral("archive name accepted: %1").arg(reserved.name));
    }

    const protocol::DelfileAnswer ack = protocol::readDelfileAnswer(answer);
    if (ack.valid && (!ack.acknowledged || ack.count != answer.section(u',', 1, 1)))
        fuzz::finding(QStringLiteral("acknowledgement accepted: %1").arg(answer));

    // The archive's verdict is the same whole, in two pieces and byte by byte.
    const QString whole = verdict(body, std::max<qsizetype>(body.size(), 1));
    const qsizetype split = size > 0 ? data[0] % (body.size() + 1) + 1 : 1;
    if (verdict(body, split) != whole || verdict(body, 1) != whole)
        fuzz::finding(QStringLiteral("archive verdict depends on the pieces"));
    if (whole == QLatin1String("whole") && (!protocol::looksLikeLhaArchive(body) || !body.contains('\0')))
        fuzz::finding(QStringLiteral("whole archive without its start or end mark"));
    return 0;
}
