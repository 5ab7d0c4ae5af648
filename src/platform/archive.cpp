#include "platform/archive.h"

#include "common/paper_schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace kelmon {

namespace {

struct ArchiveCloser {
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;

QString libraryText(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QString();
}

// Sorts a library failure by its text; libarchive reports the LHA faults with
// these words and gives no finer error numbers.
ExtractResult::Status classify(const QString &text, bool beforeFirstEntry)
{
    if (text.contains(QLatin1String("Unrecognized archive format")))
        return ExtractResult::NotAnArchive;
    if (text.contains(QLatin1String("CRC"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("header sum"), Qt::CaseInsensitive))
        return ExtractResult::BadCrc;
    if (text.contains(QLatin1String("Unsupported"), Qt::CaseInsensitive))
        return ExtractResult::UnsupportedMethod;
    if (text.contains(QLatin1String("Truncated"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("Premature end"), Qt::CaseInsensitive))
        return ExtractResult::Truncated;
    if (beforeFirstEntry && text.contains(QLatin1String("Couldn't find out LHa header")))
        return ExtractResult::NotAnArchive;
    return ExtractResult::Damaged;
}

ExtractResult failure(ExtractResult result, ExtractResult::Status status, const QString &detail,
                      const QString &entry = {})
{
    result.status = status;
    result.detail = detail;
    result.entry = entry;
    // The user reads the reason in Japanese; the library's own words go to
    // the log.
    if (!detail.isEmpty())
        qWarning("archive: %s: %s", qUtf8Printable(entry), qUtf8Printable(detail));
    return result;
}

// The first bytes of an LHA header cut short by the end of the file, before
// the header's fixed part (22 bytes) and after the start of its method mark.
bool isCutHeader(const QString &archivePath)
{
    QFile f(archivePath);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(22);
    return head.size() >= 3 && head.size() < 22 && mayBeginLhaHeader(head);
}

// Streams the data of the current entry into the sink, at most limit bytes
// (and at most *room, which is what the archive may still expand to);
// returns the failure, if any.
ExtractResult::Status streamEntry(archive *a, archive_entry *entry, const QString &name, ExtractSink &sink,
                                  qint64 limit, qint64 *room, QString *detail)
{
    const qint64 size = archive_entry_size_is_set(entry) ? qint64(archive_entry_size(entry)) : -1;
    if (!sink.begin(name, size, detail)) {
        archive_read_data_skip(a);
        return ExtractResult::WriteFailed;
    }
    qint64 written = 0;
    for (;;) {
        const void *block = nullptr;
        size_t length = 0;
        la_int64_t offset = 0;
        const int r = archive_read_data_block(a, &block, &length, &offset);
        if (r == ARCHIVE_EOF)
            break;
        // A data checksum that does not match, or a method that cannot be
        // read, comes as a warning: the data is not to be trusted.
        if (r != ARCHIVE_OK) {
            *detail = libraryText(a);
            return classify(*detail, false);
        }
        written += qint64(length);
        if (written > limit || written > *room)
            return ExtractResult::TooLarge;
        if (length > 0 && !sink.data(static_cast<const char *>(block), qsizetype(length), detail))
            return ExtractResult::WriteFailed;
    }
    if (!sink.end(detail))
        return ExtractResult::WriteFailed;
    *room -= written;
    return ExtractResult::Ok;
}

// Writes every accepted entry as a file of its name into a folder.
class FolderSink : public ExtractSink {
public:
    explicit FolderSink(const QString &folder) : folder_(folder) {}
    bool begin(const QString &name, qint64, QString *detail) override
    {
        out_.setFileName(folder_.filePath(name));
        if (out_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return true;
        *detail = out_.errorString();
        return false;
    }
    bool data(const char *bytes, qsizetype count, QString *detail) override
    {
        if (out_.write(bytes, count) == count)
            return true;
        *detail = out_.errorString();
        return false;
    }
    bool end(QString *detail) override
    {
        const bool ok = out_.flush();
        if (!ok)
            *detail = out_.errorString();
        out_.close();
        return ok;
    }

private:
    QDir folder_;
    QFile out_;
};

// Takes the entries and keeps nothing.
class DiscardSink : public ExtractSink {
public:
    bool begin(const QString &, qint64, QString *) override { return true; }
    bool data(const char *, qsizetype, QString *) override { return true; }
    bool end(QString *) override { return true; }
};

} // namespace

QString ExtractResult::reason() const
{
    QString text;
    switch (status) {
    case Ok: return {};
    case CannotOpen: text = QStringLiteral("圧縮ファイルを開けません"); break;
    case NotAnArchive: text = QStringLiteral("LHA形式の圧縮ファイルではありません"); break;
    case Truncated: text = QStringLiteral("圧縮ファイルが途中で切れています"); break;
    case BadCrc: text = QStringLiteral("圧縮ファイルが壊れています（CRCエラー）"); break;
    case UnsupportedMethod: text = QStringLiteral("対応していない圧縮方式です"); break;
    case Empty: text = QStringLiteral("圧縮ファイルに紙面ファイルが有りません"); break;
    case WriteFailed: text = QStringLiteral("解凍したファイルを書き込めません"); break;
    case TooLarge: text = QStringLiteral("圧縮ファイルの中身が大きすぎます"); break;
    case Damaged: text = QStringLiteral("圧縮ファイルが壊れています"); break;
    }
    if (status == TooLarge && !entry.isEmpty())
        text += QStringLiteral("（%1）").arg(entry);
    return text;
}

qint64 entryLimit(const QString &name) { return isPhotoName(name) ? maxPhotoBytes : maxPaperFileBytes; }

bool isPhotoName(const QString &name)
{
    if (name.size() != 8 || !name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return false;
    for (int i = 0; i < 4; ++i) {
        const QChar c = name.at(i);
        if (c == u'/' || c == u'\\' || c == u'.' || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool isPaperEntryName(const QString &name)
{
    if (isPhotoName(name))
        return true;
    for (const PaperTable &table : allTables()) {
        if (*table.file && name.compare(QLatin1String(table.file), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool mayBeginLhaHeader(QByteArrayView head)
{
    const auto fits = [head](int at, char c) { return at >= head.size() || head[at] == c; };
    return fits(2, '-') && fits(3, 'l') && (fits(4, 'h') || fits(4, 'z')) && fits(6, '-');
}

ExtractResult readArchive(const QString &archivePath)
{
    DiscardSink sink;
    return extractArchive(archivePath, sink);
}

ExtractResult extractArchive(const QString &archivePath, const QString &folder)
{
    FolderSink sink(folder);
    return extractArchive(archivePath, sink);
}

ExtractResult extractArchive(const QString &archivePath, ExtractSink &sink)
{
    ExtractResult result;
    QFile probe(archivePath);
    if (!probe.open(QIODevice::ReadOnly))
        return failure(result, ExtractResult::CannotOpen, probe.errorString());
    if (probe.size() == 0)
        return failure(result, ExtractResult::Empty, {});
    probe.close();

    ArchivePtr a(archive_read_new());
    archive_read_support_format_lha(a.get());
    const QByteArray nativePath = QFile::encodeName(archivePath);
    // A file cut off inside its first header is not recognised by the
    // library at all; it is an archive cut short, not something else.
    auto firstFailure = [&](const QString &text) {
        const ExtractResult::Status status = classify(text, true);
        return failure(result, status == ExtractResult::NotAnArchive && isCutHeader(archivePath) ? ExtractResult::Truncated : status,
                       text);
    };
    if (archive_read_open_filename(a.get(), nativePath.constData(), 64 * 1024) != ARCHIVE_OK)
        return firstFailure(libraryText(a.get()));

    bool first = true;
    qint64 room = maxArchiveBytes;
    int entries = 0;
    for (;;) {
        archive_entry *entry = nullptr;
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN) {
            const QString text = libraryText(a.get());
            return first ? firstFailure(text) : failure(result, classify(text, false), text);
        }
        first = false;
        if (++entries > maxArchiveEntries)
            return failure(result, ExtractResult::TooLarge, {});

        const char *raw = archive_entry_pathname(entry);
        const QString name = raw ? QString::fromLocal8Bit(raw) : QString();
        // Only a plain name of a paper file or photo, naming a regular file,
        // is written; a folder part, "..", an absolute path or a link is never
        // followed.
        const bool plain = !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\')
                           && name != QLatin1String(".") && name != QLatin1String("..");
        if (!plain || archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry)
            || !isPaperEntryName(name)) {
            result.skipped << (raw ? name : QStringLiteral("?"));
            archive_read_data_skip(a.get());
            sink.afterEntry();
            continue;
        }

        // The size in the header is checked before any data is read, the
        // data itself while it is read (a header may understate it).
        const QString lower = name.toLower();
        const qint64 limit = entryLimit(lower);
        if (archive_entry_size_is_set(entry)
            && (archive_entry_size(entry) > limit || archive_entry_size(entry) > room))
            return failure(result, ExtractResult::TooLarge, {}, lower);
        QString detail;
        const ExtractResult::Status status = streamEntry(a.get(), entry, lower, sink, limit, &room, &detail);
        if (status != ExtractResult::Ok)
            return failure(result, status, detail, lower);
        if (!result.files.contains(lower))
            result.files << lower;
        sink.afterEntry();
    }
    if (result.files.isEmpty())
        return failure(result, ExtractResult::Empty, {});
    return result;
}

} // namespace kelmon
