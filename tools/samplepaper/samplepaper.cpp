// Sample papers: one paper day, or many, from a simulated meeting, written as
// code page 932 text files and racer photos in an LHA archive.

#include "samplepaper.h"

#include "samplepaper_p.h"

#include "common/paper_schema.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

namespace kelmon {

namespace {

using namespace kelmon::sample;

Knobs knobsOf(const SamplePaperOptions &o)
{
    Knobs k;
    k.privateUse = o.privateUse;
    k.commas = o.commasInQuotes;
    k.singleQuote = o.singleQuoteName;
    return k;
}

// One text file: a record per line ended by CR LF, fields separated by
// commas, texts (and anything holding a comma) in double quotes.
QByteArray encodeFile(const SamplePaperTable &t, bool quoteTexts)
{
    const PaperTable *layout = findTable(t.table.toLatin1().constData());
    QString text;
    text.reserve(t.records.size() * 256);
    for (const QStringList &rec : t.records) {
        for (qsizetype i = 0; i < rec.size(); ++i) {
            if (i)
                text += QLatin1Char(',');
            const bool isText = layout && std::size_t(i) < layout->columnCount && layout->columns[i].kind != 'N';
            const QString &v = rec[i];
            if ((isText && quoteTexts) || v.contains(QLatin1Char(',')))
                text += QLatin1Char('"') + v + QLatin1Char('"');
            else
                text += v;
        }
        text += QLatin1String("\r\n");
    }
    QStringEncoder enc("windows-31j");
    return enc.encode(text);
}

SamplePaper buildPaper(const Meeting &m, int day, const SamplePaperOptions &o)
{
    SamplePaper p;
    p.venue = m.venue;
    p.setuscode = m.setuscode;
    p.day = day;
    p.meetingDays = m.days;
    p.dayKind = paperDayKind(day, m.days);
    p.grade = m.grade;
    p.date = m.schedule[day - 1].date;
    p.archiveName = paperArchiveName(p.date, p.venue, p.dayKind, p.grade);
    p.tables = paperTables(m, day, knobsOf(o));

    for (SamplePaperTable &t : p.tables) {
        if (!o.cutShortFile.isEmpty() && t.file.compare(o.cutShortFile, Qt::CaseInsensitive) == 0
            && !t.records.isEmpty()) {
            QStringList &last = t.records.last();
            last = last.mid(0, qMax<qsizetype>(1, last.size() / 2));
        }
        p.files << SamplePaperFile{t.file, encodeFile(t, o.quoteTexts)};
    }
    if (o.photos) {
        QList<int> numbers;
        for (const auto &x : m.racers)
            numbers << x.no;
        std::sort(numbers.begin(), numbers.end());
        for (int no : numbers)
            p.files << SamplePaperFile{QString::asprintf("%04d.gif", no), racerPhotoGif(no)};
    }
    QList<LhaEntry> entries;
    const QDateTime made(p.date.addDays(-1), QTime(21, 30));
    for (const auto &f : std::as_const(p.files))
        entries << LhaEntry{f.name, f.data, made};
    p.archive = buildLzhArchive(entries, o.lhaLevel);
    return p;
}

struct Start {
    int venue;
    QDate start;
    int day;
    int days;
};

Start startOf(const SamplePaperOptions &o)
{
    Start s;
    s.days = qBound(3, o.meetingDays, 6);
    s.venue = o.venue >= 1 && o.venue <= 24 ? o.venue : int(o.seed % 24) + 1;
    s.day = o.day >= 1 ? qMin(o.day, s.days) : qMin(3, s.days);
    const QDate date = o.date.isValid() ? o.date : QDate::currentDate();
    s.start = date.addDays(-(s.day - 1));
    return s;
}

// Writes under a temporary name and renames, so a reader of the folder never
// sees half an archive. No sync to disk: thousands of archives for a benchmark
// must stay quick to write.
bool writeFile(const QString &path, const QByteArray &data, QString *error)
{
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
    file.close();
    ok = ok && file.error() == QFileDevice::NoError;
    if (ok) {
        QFile::remove(path);
        ok = QFile::rename(part, path);
    }
    if (!ok) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        QFile::remove(part);
    }
    return ok;
}

} // namespace

const SamplePaperTable *SamplePaper::table(const QString &name) const
{
    for (const auto &t : tables)
        if (t.table == name || t.file.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

SamplePaper makeSamplePaper(const SamplePaperOptions &options)
{
    const Start s = startOf(options);
    const Meeting m = simulateMeeting(s.venue, s.start, s.days, options.seed, knobsOf(options));
    return buildPaper(m, s.day, options);
}

QString writeSamplePaper(const QString &dir, const SamplePaperOptions &options, QString *error)
{
    const QStringList names = writeSamplePapers(dir, options, 1, error);
    return names.isEmpty() ? QString() : names.first();
}

QStringList writeSamplePapers(const QString &dir, const SamplePaperOptions &options, int count, QString *error)
{
    QStringList written;
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("cannot create folder %1").arg(dir);
        return written;
    }
    const Start first = startOf(options);
    const Knobs knobs = knobsOf(options);
    for (int meeting = 0; written.size() < count; ++meeting) {
        // Meetings follow at the next venues; every 24 meetings the round
        // starts a week later, so one venue never holds two at once.
        const int venue = (first.venue - 1 + meeting) % 24 + 1;
        const QDate start = first.start.addDays(7 * (meeting / 24));
        const Meeting m = simulateMeeting(venue, start, first.days, options.seed, knobs);
        for (int day = meeting ? 1 : first.day; day <= m.days && written.size() < count; ++day) {
            const SamplePaper p = buildPaper(m, day, options);
            if (!writeFile(QDir(dir).filePath(p.archiveName), p.archive, error))
                return written;
            written << p.archiveName;
        }
    }
    return written;
}

} // namespace kelmon
