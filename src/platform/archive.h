#pragma once
// Extraction of one paper archive (LHA: -lh0-, -lh5-, -lh6-, -lh7-) into a
// folder. Only regular files with plain names that a paper archive carries
// (the thirteen paper text files and racer photos ????.gif) are written, under
// lower-case names, and only into that folder; every other entry is skipped.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kelmon {

// What one archive may expand to. A paper day's largest file, the race card,
// is under 100 KB and a racer photo a few KB; the limits leave a wide margin
// and stop an archive that expands to hundreds of megabytes before its data
// is read into memory or onto the disk.
inline constexpr qint64 maxPaperFileBytes = 4 * 1024 * 1024;   // one paper text file
inline constexpr qint64 maxPhotoBytes = 1024 * 1024;           // one photo
inline constexpr qint64 maxArchiveBytes = 16 * 1024 * 1024;    // all entries taken from one archive
inline constexpr int maxArchiveEntries = 2000;                  // entries of one archive, skipped ones included

// The most that the entry of that name may expand to.
qint64 entryLimit(const QString &name);

struct ExtractResult {
    enum Status {
        Ok,
        CannotOpen,         // the archive file cannot be read
        NotAnArchive,       // not an LHA archive
        Truncated,          // ends inside a header or inside file data
        BadCrc,             // a header or file checksum does not match
        UnsupportedMethod,  // a compression method that cannot be read
        Empty,              // no paper file and no photo in it
        WriteFailed,        // the folder could not take an extracted file
        TooLarge,           // an entry, or all of them, beyond the limits above
        Damaged,            // any other read failure
    };
    Status status = Ok;
    QString entry;        // the entry the failure concerns, if any
    QString detail;       // the library's or the system's own text, if any (for the log)
    QStringList files;    // names written into the folder (lower case)
    QStringList skipped;  // entry names that were not extracted

    bool ok() const { return status == Ok; }
    // The reason as shown to the user, in Japanese (empty when ok); the
    // library's text is not part of it.
    QString reason() const;
};

// True for a plain entry name (no folder part, not absolute, no "..") that is
// one of the thirteen paper file names or a photo ????.gif, without regard to
// case.
bool isPaperEntryName(const QString &name);
// True for a photo name ????.gif (without regard to case).
bool isPhotoName(const QString &name);

// Receives the entries that extraction accepts, one after the other, as
// streams: begin, any number of data pieces, end. A false return stops the
// extraction with ExtractResult::WriteFailed and *detail as its detail.
class ExtractSink {
public:
    virtual ~ExtractSink() = default;
    // name is the lower-case entry name; size the size its header gives.
    virtual bool begin(const QString &name, qint64 size, QString *detail) = 0;
    virtual bool data(const char *bytes, qsizetype count, QString *detail) = 0;
    virtual bool end(QString *detail) = 0;
    // After every entry, accepted or skipped (the caller may yield to the
    // event queue here).
    virtual void afterEntry() {}
};

// Whether the first bytes of an LHA header, as far as they go, can begin
// one: every header level carries its method mark ("-lh5-", "-lz4-") from
// offset 2. Bytes that cannot are no archive, or not its next header.
bool mayBeginLhaHeader(QByteArrayView head);

// Streams the accepted entries of the archive into sink. On failure the sink
// may have taken entries before the failure; the caller discards them.
ExtractResult extractArchive(const QString &archivePath, ExtractSink &sink);
// Reads the archive as extraction does, every accepted entry to its end with
// its checksum and within the limits, and writes nothing: what registration
// would read from it, without extracting it.
ExtractResult readArchive(const QString &archivePath);
// Extracts the archive into folder, which must exist. On failure the folder
// may hold the files written before the failure; the caller discards it.
ExtractResult extractArchive(const QString &archivePath, const QString &folder);

} // namespace kelmon
