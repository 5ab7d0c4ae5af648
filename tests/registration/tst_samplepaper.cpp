// The sample-paper generator: archives of every header level that another
// reader accepts.

#include "samplepaper/samplepaper.h"

#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

using namespace kelmon;

class TestSamplePaper : public QObject {
    Q_OBJECT

    static SamplePaper paper(int day, int level)
    {
        SamplePaperOptions o;
        o.venue = 12;
        o.date = QDate(2024, 3, 15);
        o.day = day;
        o.lhaLevel = level;
        o.photos = false;
        return makeSamplePaper(o);
    }

private slots:
    // Every entry read back through libarchive, which checks the header sums
    // and the CRC-16 of the data.
    void archiveReadsBack()
    {
        for (int level : {0, 1, 2}) {
            const SamplePaper p = paper(3, level);
            archive *a = archive_read_new();
            archive_read_support_format_lha(a);
            QCOMPARE(archive_read_open_memory(a, p.archive.constData(), size_t(p.archive.size())), ARCHIVE_OK);
            archive_entry *e = nullptr;
            int n = 0;
            for (; archive_read_next_header(a, &e) == ARCHIVE_OK; ++n) {
                QByteArray data(p.files.value(n).data.size() + 1, '\0');
                QCOMPARE(QString::fromLocal8Bit(archive_entry_pathname(e)), p.files.value(n).name);
                QCOMPARE(data.left(archive_read_data(a, data.data(), size_t(data.size()))), p.files.value(n).data);
            }
            archive_read_free(a);
            QCOMPARE(n, 13);
        }
    }
};

QTEST_GUILESS_MAIN(TestSamplePaper)
#include "tst_samplepaper.moc"
