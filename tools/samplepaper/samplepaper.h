#pragma once
// Generator of sample papers: a coherent paper day (a meeting at a venue, its
// day N, twelve races of six boats with racers, motors, boats, predictions,
// results of the earlier days, rankings, points table and payout returns that
// agree with each other), written as the thirteen text files in code page 932
// with racer photos, packed into an LHA archive named like a real paper.
// Used by the run script, the end-to-end tests and the benchmarks.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>

namespace kelmon {

struct SamplePaperOptions {
    int venue = 0;             // 1..24; 0 picks one from the seed
    QDate date;                // date of the paper day; invalid means today
    int day = 0;               // day of the meeting, 1..meetingDays; 0 picks one
    int meetingDays = 6;       // length of a meeting, 3..6 days
    quint32 seed = 1;
    int lhaLevel = 2;          // LHA header level 0, 1 or 2
    bool photos = true;        // racer photos ????.gif in the archive
    // Knobs for the reader's harder cases.
    bool quoteTexts = true;      // text fields in double quotes
    bool commasInQuotes = true;  // a few quoted texts hold commas
    bool privateUse = true;      // private-use characters in name and comment columns
    bool singleQuoteName = false; // one racer's name holds a single quote
    QString cutShortFile;        // e.g. "kelmfd.txt": its last record ends early
};

// One paper file's records as written: the field texts before quoting and
// encoding, one list per record.
struct SamplePaperTable {
    QString table;   // f_setus ...
    QString file;    // kelmfa.txt ...
    QList<QStringList> records;
};

struct SamplePaperFile {
    QString name;
    QByteArray data;
};

struct SamplePaper {
    QString archiveName;   // e.g. 2431c1l25.lzh
    int venue = 0;
    double setuscode = 0;
    int day = 0;
    int meetingDays = 0;
    int dayKind = 0;       // 1 first day .. 5 last day
    int grade = 0;
    QDate date;
    QList<SamplePaperTable> tables;  // the thirteen, in registration order
    QList<SamplePaperFile> files;    // text files (code page 932), then photos
    QByteArray archive;              // the .lzh bytes
    const SamplePaperTable *table(const QString &name) const;
};

// Builds one paper day in memory.
SamplePaper makeSamplePaper(const SamplePaperOptions &options);

// Writes one paper day's archive into dir. Returns the file name, or an
// empty text with the reason in *error.
QString writeSamplePaper(const QString &dir, const SamplePaperOptions &options,
                         QString *error = nullptr);

// Writes count consecutive paper days: from the options' day of its meeting
// to the meeting's last day, then whole meetings at the following venues
// (several venues hold meetings at the same time, so many days stay quick
// to make and every archive name is distinct). Returns the file names written;
// on failure stops and puts the reason into *error.
QStringList writeSamplePapers(const QString &dir, const SamplePaperOptions &options, int count,
                              QString *error = nullptr);

// The paper archive name: two year digits, month as one hex digit, the day
// 1-9 or a-v, one unread character, the venue letter a-x, the day kind and
// the grade code, then ".lzh".
QString paperArchiveName(const QDate &date, int venue, int dayKind, int grade);

// Day kind of day `day` of a meeting of `days` days: 1 first day, 2
// qualifying, 3 last qualifying day, 4 semi-final day, 5 last day.
int paperDayKind(int day, int days);

// ---- building blocks, usable on their own ----

struct LhaEntry {
    QString name;        // plain file name, written in code page 932
    QByteArray data;
    QDateTime modified;
};

// An LHA archive of the entries stored with the -lh0- method, headers of the
// given level (0, 1 or 2), ended by the archive's end mark.
QByteArray buildLzhArchive(const QList<LhaEntry> &entries, int headerLevel);

// CRC-16 as LHA uses it (polynomial 0xA001 reflected, start 0).
quint16 lhaCrc16(const char *data, qsizetype size, quint16 crc = 0);

// A GIF89a image: pixels are palette indexes, width x height bytes, row by
// row; the palette holds 2 to 256 colours.
QByteArray buildGif(int width, int height, const QList<QRgb> &palette, const QByteArray &pixels);

// A small portrait of the racer with that registration number.
QByteArray racerPhotoGif(int tourokuno);

} // namespace kelmon
