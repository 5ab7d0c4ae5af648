// Fuzz target: the bytes a server sends on a connection, read as an HTTP
// answer the way the download control reads them.
//
// Input: the answer as it came off the connection, then the end of the
// connection. A finding is a crash or sanitizer report, more held than the
// bounds before the body, a body longer than the input, or a result (state,
// body, head) that depends on how the bytes were split.

#include "fuzzsupport.h"

#include "download/httpreader.h"

using namespace kelmon;

namespace {

struct Read {
    HttpReader::State state;
    QByteArray body;
    int status = 0;
    qint64 length = -1;
    friend bool operator==(const Read &, const Read &) = default;
};

Read readAnswer(const QByteArray &bytes, qsizetype piece, qsizetype maxHead, qsizetype maxChunkLine)
{
    HttpReader reader(maxHead, maxChunkLine);
    Read out;
    fuzz::inPieces(bytes, piece, [&](QByteArrayView b) {
        out.body += reader.feed(b);
        if (reader.held() > std::max(maxHead, maxChunkLine))
            fuzz::finding(QStringLiteral("held %1 bytes").arg(reader.held()));
    });
    reader.end();
    out.state = reader.state();
    if (reader.headRead()) {
        out.status = reader.status();
        out.length = reader.contentLength();
    }
    if (out.body.size() > bytes.size())
        fuzz::finding(QStringLiteral("body longer than the input"));
    if (reader.state() == HttpReader::State::Head || reader.state() == HttpReader::State::Body)
        fuzz::finding(QStringLiteral("still reading after the end"));
    return out;
}

} // namespace

KELMON_FUZZ_INITIALIZE_ONLY

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = size > 0 ? data[0] % (bytes.size() + 1) + 1 : 1;
    // The real bounds, and small ones (from the input) that short inputs reach.
    const qsizetype smallHead = size > 1 ? 16 + data[1] % 240 : 16, smallChunkLine = size > 2 ? 2 + data[2] % 30 : 2;
    for (const auto &[head, chunkLine] : {std::pair(HttpReader::kMaxHeadBytes, HttpReader::kMaxChunkLine),
                                          std::pair(smallHead, smallChunkLine)}) {
        const Read whole = readAnswer(bytes, std::max<qsizetype>(bytes.size(), 1), head, chunkLine);
        if (!(readAnswer(bytes, split, head, chunkLine) == whole) || !(readAnswer(bytes, 1, head, chunkLine) == whole))
            fuzz::finding(QStringLiteral("answer read differently in pieces"));
    }
    return 0;
}
