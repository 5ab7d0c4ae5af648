// Extraction of paper archives: real compressed archives made by an
// independent archiver, hostile entry names, and damaged archives.

#include "platform/archive.h"
#include "samplepaper/samplepaper.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using kelmon::ExtractResult;

namespace {

QString fixture(const char *name) { return QStringLiteral(KELMON_TEST_DATA "/") + QLatin1String(name); }

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below root, as paths relative to it.
QStringList filesBelow(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

class TestArchive : public QObject {
    Q_OBJECT

private slots:
    void compressedArchives_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::newRow("-lh5-") << fixture("paper_lh5.lzh");
        QTest::newRow("-lh6-") << fixture("paper_lh6.lzh");
        QTest::newRow("-lh7-") << fixture("paper_lh7.lzh");
    }
    void compressedArchives()
    {
        QFETCH(QString, archive);
        QTemporaryDir dir;
        const ExtractResult r = kelmon::extractArchive(archive, dir.path());
        QVERIFY2(r.ok(), qPrintable(r.reason()));
        QCOMPARE(filesBelow(dir.path()), (QStringList{"4321.gif", "kelmfa.txt", "kelmfc.txt"}));

        // The content is the archiver's input.
        QCOMPARE(readAll(dir.filePath("kelmfc.txt")).count("\r\n"), 12);
        QVERIFY(readAll(dir.filePath("4321.gif")).startsWith("GIF89a"));
    }

    void hostileNamesAreSkipped()
    {
        // The fixture holds ../kelmfa.txt, /tmp/kelmfb.txt, sub/kelmfd.txt,
        // sub\kelmff.txt, "..", readme.txt, KELMFC.TXT and 1234.GIF. The work
        // folder sits inside an outer folder so that a write through ".." would
        // show up there.
        QTemporaryDir outer;
        const QString work = outer.filePath("work");
        QVERIFY(QDir().mkpath(work));
        const bool existedBefore = QFile::exists("/tmp/kelmfb.txt");

        const ExtractResult r = kelmon::extractArchive(fixture("traversal.lzh"), work);
        QVERIFY2(r.ok(), qPrintable(r.reason()));
        QCOMPARE(r.files, (QStringList{"kelmfc.txt", "1234.gif"}));
        QCOMPARE(r.skipped.size(), 6);
        QCOMPARE(filesBelow(outer.path()), (QStringList{"work/1234.gif", "work/kelmfc.txt"}));
        QVERIFY(existedBefore || !QFile::exists("/tmp/kelmfb.txt"));
        QCOMPARE(readAll(QDir(work).filePath("kelmfc.txt")), QByteArray("12345,1,1,race,1015\r\n"));
    }

    void damagedArchivesAreReported_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("reason");
        const struct { const char *name, *file; const char16_t *reason; } cases[] = {
            {"truncated", "truncated.lzh", u"圧縮ファイルが途中で切れています"},
            {"cut after ten bytes", "cut10.lzh", u"圧縮ファイルが途中で切れています"},
            {"bad checksum", "badcrc.lzh", u"圧縮ファイルが壊れています（CRCエラー）"},
            {"-lh1- method", "unsupported.lzh", u"対応していない圧縮方式です"},
            {"plain text", "notarchive.lzh", u"LHA形式の圧縮ファイルではありません"},
            {"empty file", "empty.lzh", u"圧縮ファイルに紙面ファイルが有りません"},
            {"no paper file", "nopaper.lzh", u"圧縮ファイルに紙面ファイルが有りません"},
            {"missing", "no-such-archive.lzh", u"圧縮ファイルを開けません"},
            // An 18 KB archive whose race card expands to 5 MB, and a 54 KB one
            // whose five files expand to 17.5 MB together.
            {"one entry beyond its limit", "oversize.lzh", u"圧縮ファイルの中身が大きすぎます（kelmfd.txt）"},
            {"entries beyond the archive's limit", "toomuch.lzh", u"圧縮ファイルの中身が大きすぎます（kelmff.txt）"},
        };
        for (const auto &c : cases)
            QTest::newRow(c.name) << fixture(c.file) << QString::fromUtf16(c.reason);
    }
    // Each failure has its own reason, in Japanese only (the library's English
    // words go to the log), and a refused entry leaves no data behind.
    void damagedArchivesAreReported()
    {
        QFETCH(QString, archive);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const ExtractResult r = kelmon::extractArchive(archive, dir.path());
        QCOMPARE(r.reason(), reason);
        qint64 written = 0;
        for (const QString &name : filesBelow(dir.path()))
            written += QFileInfo(dir.filePath(name)).size();
        QVERIFY(written <= kelmon::maxArchiveBytes);
        if (r.status == ExtractResult::TooLarge)
            QVERIFY(!QFile::exists(dir.filePath(r.entry)));
    }

    void entryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("paper file, upper case") << "KELMFO.TXT" << true;
        QTest::newRow("unused letter e") << "kelmfe.txt" << false;
        QTest::newRow("photo") << "1234.gif" << true;
        QTest::newRow("folder part") << "sub/kelmfa.txt" << false;
    }
    void entryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QCOMPARE(kelmon::isPaperEntryName(name), taken);
    }

    // A photo of exactly its limit is taken whole, one byte more is refused.
    void entryOfExactlyItsLimit()
    {
        for (const qint64 size : {kelmon::maxPhotoBytes, kelmon::maxPhotoBytes + 1}) {
            QTemporaryDir dir;
            QFile archive(dir.filePath("photo.lzh"));
            QVERIFY(archive.open(QIODevice::WriteOnly));
            archive.write(kelmon::buildLzhArchive({{"1234.gif", QByteArray(size, 'G'), QDateTime::currentDateTime()}}, 2));
            archive.close();
            const ExtractResult r = kelmon::extractArchive(archive.fileName(), dir.path());
            QCOMPARE(r.ok(), size == kelmon::maxPhotoBytes);
            QCOMPARE(QFileInfo(dir.filePath("1234.gif")).size(), r.ok() ? size : 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
