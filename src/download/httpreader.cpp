#include "download/httpreader.h"

#include <QList>

#include <cstring>

namespace kelmon {

namespace {

bool allDigits(QByteArrayView text, int base)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool hex = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(base == 16 && hex))
            return false;
    }
    return true;
}

} // namespace

QByteArray HttpReader::feed(QByteArrayView bytes)
{
    QByteArray body;
    qsizetype at = 0;
    while (at < bytes.size() && (state_ == State::Head || state_ == State::Body)) {
        if (part_ == Part::Data || part_ == Part::ChunkData) {
            qint64 n = bytes.size() - at;
            if (left_ >= 0)
                n = std::min(n, left_);
            body.append(bytes.data() + at, n);
            at += n;
            if (left_ > 0 && (left_ -= n) == 0) {
                if (part_ == Part::Data)
                    state_ = State::Done;
                else
                    part_ = Part::ChunkEnd;
            }
            continue;
        }
        if (!takeLine(bytes, at))
            continue;
        switch (part_) {
        case Part::StatusLine: statusLine(); break;
        case Part::Field: line_.isEmpty() ? headEnd() : field(); break;
        case Part::ChunkSize: chunkSize(); break;
        case Part::ChunkEnd: line_.isEmpty() ? void(part_ = Part::ChunkSize) : fail(); break;
        case Part::Trailer:   // trailer fields are not used
            if (line_.isEmpty())
                state_ = State::Done;
            break;
        case Part::Data:
        case Part::ChunkData: break;
        }
        line_.clear();
    }
    return body;
}

bool HttpReader::takeLine(QByteArrayView bytes, qsizetype &at)
{
    const char *start = bytes.data() + at;
    const qsizetype available = bytes.size() - at;
    const auto *newline = static_cast<const char *>(std::memchr(start, '\n', size_t(available)));
    const qsizetype n = newline ? newline - start + 1 : available;
    const bool head = part_ == Part::StatusLine || part_ == Part::Field || part_ == Part::Trailer;
    if (head ? headBytes_ + n > maxHead_ : line_.size() + n > maxChunkLine_) {
        fail();
        return false;
    }
    if (head)
        headBytes_ += n;
    line_.append(start, n);
    at += n;
    if (!newline)
        return false;
    line_.chop(line_.endsWith("\r\n") ? 2 : 1);
    return true;
}

void HttpReader::statusLine()
{
    if (line_.isEmpty())
        return;   // blank lines before the status line are allowed
    // "HTTP/1.x 200 reason"
    if (line_.size() < 12 || !line_.startsWith("HTTP/1.") || line_.at(8) != ' ' || !allDigits(line_.mid(9, 3), 10)
        || (line_.size() > 12 && line_.at(12) != ' '))
        return fail();
    status_ = line_.mid(9, 3).toInt();
    length_ = -1;
    chunked_ = false;
    location_.clear();
    part_ = Part::Field;
}

void HttpReader::field()
{
    const qsizetype colon = line_.indexOf(':');
    if (colon <= 0)
        return fail();
    const QByteArray name = line_.left(colon).toLower();
    const QByteArray value = line_.mid(colon + 1).trimmed();
    if (name == "content-length") {
        if (!allDigits(value, 10) || value.size() > 18)
            return fail();
        const qint64 length = value.toLongLong();
        if (length_ >= 0 && length_ != length)
            return fail();   // two lengths: which one is the body's cannot be told
        length_ = length;
    } else if (name == "transfer-encoding") {
        // The codings are a list, over one field or more, applied in order.
        // Only chunks alone can be read: with another coding last the end is
        // unknown, and any coding under the chunks would have to be undone.
        int codings = 0;
        bool chunks = false;
        for (const QByteArray &coding : value.split(',')) {
            const QByteArray trimmed = coding.trimmed();
            if (!trimmed.isEmpty()) {
                ++codings;
                chunks = trimmed.compare("chunked", Qt::CaseInsensitive) == 0;
            }
        }
        if (chunked_ || codings != 1 || !chunks)
            return fail();
        chunked_ = true;
    } else if (name == "location") {
        location_ = value;
    }
}

void HttpReader::headEnd()
{
    if (status_ == 101)
        return fail();   // a switch of protocol was never asked for
    if (status_ < 200) {
        part_ = Part::StatusLine;   // an interim answer: the real one follows
        return;
    }
    state_ = State::Body;
    left_ = length_;
    if (status_ == 204 || status_ == 304 || (!chunked_ && length_ == 0))
        state_ = State::Done;
    else
        part_ = chunked_ ? Part::ChunkSize : Part::Data;
}

void HttpReader::chunkSize()
{
    const qsizetype extension = line_.indexOf(';');
    const QByteArray size = (extension < 0 ? line_ : line_.left(extension)).trimmed();
    if (!allDigits(size, 16) || size.size() > 15)
        return fail();
    left_ = size.toLongLong(nullptr, 16);
    if (left_ > 0) {
        part_ = Part::ChunkData;
    } else {
        part_ = Part::Trailer;
        headBytes_ = 0;
    }
}

void HttpReader::end()
{
    if (state_ == State::Body && part_ == Part::Data && left_ < 0)
        state_ = State::Done;
    else if (state_ != State::Done)
        state_ = State::Failed;
}

} // namespace kelmon
