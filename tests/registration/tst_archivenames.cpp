// Titles from paper archive names, and the racer photo copy.

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

void TestArchiveNames::photosCopied()
{
    QTemporaryDir root;
    const QString from = root.filePath("work");
    const QString photo = root.filePath("photo");   // missing: created
    QVERIFY(QDir().mkpath(from));
    QVERIFY(kelmon::test::writeFile(QDir(from).filePath("1234.gif"), "new"));
    QVERIFY(kelmon::test::writeFile(QDir(from).filePath("kelmfa.txt"), "text"));
    QVERIFY(kelmon::test::writeFile(QDir(from).filePath("12345.gif"), "not a photo"));

    QString error;
    QVERIFY(kelmon::copy_photo(from, photo, &error));
    QCOMPARE(QDir(photo).entryList(QDir::Files), (QStringList{"1234.gif"}));

    // A photo of a newer paper replaces the earlier one, whatever its case.
    QVERIFY(QFile::rename(QDir(photo).filePath("1234.gif"), QDir(photo).filePath("1234.GIF")));
    QVERIFY(kelmon::test::writeFile(QDir(from).filePath("1234.gif"), "newer"));
    QVERIFY(kelmon::copy_photo(from, photo, &error));
    QCOMPARE(QDir(photo).entryList(QDir::Files), (QStringList{"1234.GIF"}));
    QFile f(QDir(photo).filePath("1234.GIF"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("newer"));
}

QTEST_GUILESS_MAIN(TestArchiveNames)
#include "tst_archivenames.moc"
