// The sample-paper generator: archives another reader accepts, files with the
// field counts of the table layout, and unique keys.

#include "common/paper_schema.h"
#include "samplepaper/samplepaper.h"

#include <QSet>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

using namespace kelmon;

namespace {

// Names and contents of every entry read through libarchive, which checks
// header sums and the CRC-16 of the data; a complaint sets *error.
QList<std::pair<QString, QByteArray>> readArchive(const QByteArray &bytes, QString *error)
{
    QList<std::pair<QString, QByteArray>> out;
    archive *a = archive_read_new();
    archive_read_support_format_lha(a);
    archive_entry *e = nullptr;
    int r = archive_read_open_memory(a, bytes.constData(), size_t(bytes.size()));
    while (r == ARCHIVE_OK && (r = archive_read_next_header(a, &e)) == ARCHIVE_OK) {
        QByteArray data;
        char buf[4096];
        la_ssize_t n;
        while ((n = archive_read_data(a, buf, sizeof buf)) > 0)
            data.append(buf, n);
        if (n < 0)
            r = ARCHIVE_FATAL;
        out.append({QString::fromLocal8Bit(archive_entry_pathname(e)), data});
    }
    if (r != ARCHIVE_EOF)
        *error = QString::fromLocal8Bit(archive_error_string(a));
    archive_read_free(a);
    return out;
}

SamplePaperOptions options(int day)
{
    SamplePaperOptions o;
    o.venue = 12;
    o.date = QDate(2024, 3, 15);
    o.day = day;
    o.seed = 7;
    o.photos = false;
    return o;
}

} // namespace

class TestSamplePaper : public QObject {
    Q_OBJECT

private slots:
    void archiveReadsBack()
    {
        for (int level : {0, 1, 2}) {
            SamplePaperOptions o = options(3);
            o.lhaLevel = level;
            const SamplePaper p = makeSamplePaper(o);
            QString error;
            const auto entries = readArchive(p.archive, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE(entries.size(), 13);
            for (int i = 0; i < 13; ++i) {
                QCOMPARE(entries[i].first, p.files[i].name);
                QCOMPARE(entries[i].second, p.files[i].data);
            }
        }
    }

    // Every record of every file has as many fields as its table has columns
    // (the points table carries one more). Without commas inside quotes a
    // comma byte always separates fields: no code-page-932 trail byte is one.
    void fieldCountsMatchTheLayout()
    {
        SamplePaperOptions o = options(5);
        o.commasInQuotes = false;
        const SamplePaper p = makeSamplePaper(o);
        for (const auto &t : allTables()) {
            if (!*t.file)
                continue;
            const auto file = std::find_if(p.files.begin(), p.files.end(),
                                           [&](const SamplePaperFile &f) { return f.name == QLatin1String(t.file); });
            QVERIFY2(file != p.files.end(), t.file);
            const int expected = int(t.columnCount) + (QByteArrayView(t.name) == "f_tokhm" ? 1 : 0);
            int lines = 0;
            for (const QByteArray &line : file->data.split('\n')) {
                if (line.isEmpty())
                    continue;
                ++lines;
                QCOMPARE(int(line.count(',')) + 1, expected);
            }
            QCOMPARE(lines, p.table(QString::fromLatin1(t.name))->records.size());
        }
    }

    void keysAreUnique()
    {
        const SamplePaper p = makeSamplePaper(options(6));
        for (const auto &t : allTables()) {
            if (!*t.file)
                continue;
            QList<int> keys;
            for (const QString &k : QString::fromLatin1(t.primaryKey).split(',')) {
                const auto cols = t.cols();
                const auto at = std::find_if(cols.begin(), cols.end(),
                                             [&](const PaperColumn &c) { return k.trimmed() == QLatin1String(c.name); });
                keys << int(at - cols.begin());
            }
            QSet<QStringList> seen;
            for (const QStringList &rec : p.table(QString::fromLatin1(t.name))->records) {
                QStringList key;
                for (int k : keys)
                    key << rec.value(k);
                QVERIFY2(!seen.contains(key), qPrintable(QString::fromLatin1(t.name) + ": " + key.join(',')));
                seen.insert(key);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSamplePaper)
#include "tst_samplepaper.moc"
