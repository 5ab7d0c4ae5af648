#pragma once
// Reads one HTTP/1.1 answer as its bytes arrive: the status line and header
// fields, then the body as it stands on the wire (no content coding is
// undone), by its Content-Length, in chunks, or up to the end of the
// connection. Interim answers (1xx) before the final one are skipped.
//
// Only the body is handed on; of everything else no more is held than one
// line, and what comes before the body is bounded: the status line and header
// fields of the answer (interim ones included) together, and the trailer
// fields after the last chunk, may take kMaxHeadBytes each, one chunk-size
// line kMaxChunkLine. An answer past a bound, or one that cannot be read as
// HTTP, fails; nothing is read after the end or a failure.

#include <QByteArray>
#include <QByteArrayView>

namespace kelmon {

class HttpReader {
public:
    // A real server's head is a few hundred bytes; common servers refuse
    // requests whose head passes 8 to 16 KiB, and answer within that too.
    static constexpr qsizetype kMaxHeadBytes = 16 * 1024;
    // A chunk size is a few hex digits; extensions are allowed a little room.
    static constexpr qsizetype kMaxChunkLine = 1024;

    enum class State { Head, Body, Done, Failed };

    // Other bounds than the above let the bounds be tried with short answers.
    explicit HttpReader(qsizetype maxHeadBytes = kMaxHeadBytes, qsizetype maxChunkLine = kMaxChunkLine)
        : maxHead_(maxHeadBytes), maxChunkLine_(maxChunkLine)
    {
    }

    // Takes the next bytes of the connection; returns the body bytes among
    // them. Bytes after the end of the answer are ignored.
    QByteArray feed(QByteArrayView bytes);
    // The connection has ended: an answer without length or chunks is then
    // whole; any other not yet done is cut and fails.
    void end();

    State state() const { return state_; }
    bool headRead() const { return state_ == State::Body || state_ == State::Done; }
    // What the head said; valid once headRead().
    int status() const { return status_; }
    qint64 contentLength() const { return chunked_ ? -1 : length_; }   // -1: not announced
    const QByteArray &location() const { return location_; }
    // Bytes held while reading a line (never more than the bounds above).
    qsizetype held() const { return line_.size(); }

private:
    enum class Part { StatusLine, Field, ChunkSize, ChunkData, ChunkEnd, Trailer, Data };
    bool takeLine(QByteArrayView bytes, qsizetype &at);
    void statusLine();
    void field();
    void headEnd();
    void chunkSize();
    void fail() { state_ = State::Failed; }

    qsizetype maxHead_;
    qsizetype maxChunkLine_;
    State state_ = State::Head;
    Part part_ = Part::StatusLine;
    QByteArray line_;          // the line being read, without its end
    qsizetype headBytes_ = 0;  // of the head, or of the trailer
    int status_ = 0;
    qint64 length_ = -1;
    qint64 left_ = 0;          // body bytes still to come by length, or of the chunk
    bool chunked_ = false;
    QByteArray location_;
};

} // namespace kelmon
