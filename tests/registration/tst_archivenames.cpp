// Titles from paper archive names, and the racer photos put in place.

#include "registration/archivenames.h"

#include "helpers/paperfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestArchiveNames : public QObject {
    Q_OBJECT

private slots:
    void titles_data();
    void titles();
    void photosCopied();
};

void TestArchiveNames::titles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("first-day paper") << "02351l15.lzh" << "住之江 ＳＧ 初日版(02/03/05)";
    QTest::newRow("one-character venue") << "02a1xi31.lzh" << "津 一般 予選最終日版(02/10/01)";
    QTest::newRow("semi-final and last day") << "03Cv0x44.LZH" << "大村 ＧⅠ 準優版(03/12/31)";
    QTest::newRow("last-day edition, day letter upper case") << "0399zb55.lzh" << "戸田 ＳＧ 最終日版(03/09/09)";
    QTest::newRow("day letter beyond v") << "031w0b55.lzh" << "戸田 ＳＧ 最終日版(03/01/32)";
    QTest::newRow("upper-case venue letter") << "02351L15.lzh" << " ＳＧ 初日版(02/03/05)";
    QTest::newRow("grade out of range") << "02351l19.lzh" << "住之江  初日版(02/03/05)";
    QTest::newRow("edition out of range") << "02351l65.lzh" << "住之江 ＳＧ (02/03/05)";
    QTest::newRow("month not a hex digit") << "02g51l15.lzh" << "02g51l15.lzh";
    QTest::newRow("name too short") << "0235l1.lzh" << "0235l1.lzh";
    QTest::newRow("empty name") << "" << "";
}

void TestArchiveNames::titles()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(kelmon::get_newspname(name), title);
}

namespace {

bool stage(kelmon::StagedPhotos &photos, const QString &name, const QByteArray &data)
{
    QString error;
    return photos.begin(name, &error) && photos.write(data.constData(), data.size(), &error) && photos.end(&error);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

void TestArchiveNames::photosCopied()
{
    QTemporaryDir root;
    const QString photo = root.filePath("photo");   // missing: created
    QString error;
    {
        kelmon::StagedPhotos photos(photo);
        QVERIFY(stage(photos, "1234.gif", "first"));
        QVERIFY(stage(photos, "5678.gif", "other"));
        QVERIFY(stage(photos, "1234.gif", "new"));   // a later entry of the same name wins
        // Nothing carries a photo's name before copy_photo.
        QVERIFY(!QFile::exists(QDir(photo).filePath("1234.gif")));
        QVERIFY(photos.copy_photo(&error));
    }
    QCOMPARE(QDir(photo).entryList(QDir::Files | QDir::Hidden), (QStringList{"1234.gif", "5678.gif"}));
    QCOMPARE(contents(QDir(photo).filePath("1234.gif")), QByteArray("new"));

    // A photo of a newer paper replaces the earlier one, whatever its case.
    QVERIFY(QFile::rename(QDir(photo).filePath("1234.gif"), QDir(photo).filePath("1234.GIF")));
    {
        kelmon::StagedPhotos photos(photo);
        QVERIFY(stage(photos, "1234.GIF", "newer"));
        QVERIFY(stage(photos, "5678.gif", "newer too"));
        QVERIFY(photos.copy_photo(&error));
    }
    QCOMPARE(QDir(photo).entryList(QDir::Files | QDir::Hidden), (QStringList{"1234.GIF", "5678.gif"}));
    QCOMPARE(contents(QDir(photo).filePath("1234.GIF")), QByteArray("newer"));
    QCOMPARE(contents(QDir(photo).filePath("5678.gif")), QByteArray("newer too"));

    // Photos of an archive that is not registered leave nothing behind.
    {
        kelmon::StagedPhotos photos(photo);
        QVERIFY(stage(photos, "9999.gif", "dropped"));
    }
    QCOMPARE(QDir(photo).entryList(QDir::Files | QDir::Hidden), (QStringList{"1234.GIF", "5678.gif"}));
}

QTEST_GUILESS_MAIN(TestArchiveNames)
#include "tst_archivenames.moc"
