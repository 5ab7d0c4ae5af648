// Titles from paper archive names, and the racer photos put in place.

#include "registration/archivenames.h"

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
    QTest::newRow("one-character venue") << "02a1xi21.lzh" << "津 一般 予選版(02/10/01)";
    QTest::newRow("last qualifying day") << "02a1xi32.lzh" << "津 ＧⅢ 予選最終日版(02/10/01)";
    QTest::newRow("semi-final, day letter v") << "03Cv0x44.LZH" << "大村 ＧⅠ 準優版(03/12/31)";
    QTest::newRow("last-day edition, day letter upper case") << "0399zb55.lzh" << "戸田 ＳＧ 最終日版(03/09/09)";
    QTest::newRow("day letter beyond v") << "031w0b55.lzh" << "戸田 ＳＧ 最終日版(03/01/32)";
    QTest::newRow("upper-case venue letter") << "02351L15.lzh" << " ＳＧ 初日版(02/03/05)";
    QTest::newRow("grade out of range") << "02351l19.lzh" << "住之江  初日版(02/03/05)";
    QTest::newRow("edition out of range") << "02351l65.lzh" << "住之江 ＳＧ (02/03/05)";
    QTest::newRow("month not a hex digit") << "02g51l15.lzh" << "02g51l15.lzh";
    QTest::newRow("name too short") << "0235l1.lzh" << "0235l1.lzh";
}

void TestArchiveNames::titles()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(kelmon::get_newspname(name), title);
}

// Photos are written under temporary names and take their own only with
// copy_photo; a later one of the same name wins, an earlier photo is replaced
// whatever its case, and photos never placed leave nothing behind.
void TestArchiveNames::photosCopied()
{
    QTemporaryDir root;
    const QDir photo(root.filePath("photo"));   // missing: created
    auto stage = [&](const QList<QPair<QString, QByteArray>> &photos, bool place) {
        kelmon::StagedPhotos staged(photo.path());
        QString error;
        for (const auto &[name, data] : photos)
            QVERIFY(staged.begin(name, &error) && staged.write(data.constData(), data.size(), &error) && staged.end(&error));
        QVERIFY(!place || staged.copy_photo(&error));
    };
    auto contents = [&](const QString &name) {
        QFile f(photo.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };
    stage({{"1234.gif", "first"}, {"5678.gif", "other"}, {"1234.gif", "new"}}, true);
    QCOMPARE(photo.entryList(QDir::Files | QDir::Hidden), (QStringList{"1234.gif", "5678.gif"}));
    QCOMPARE(contents("1234.gif"), QByteArray("new"));

    QVERIFY(QFile::rename(photo.filePath("1234.gif"), photo.filePath("1234.GIF")));
    stage({{"1234.GIF", "newer"}, {"5678.gif", "newer too"}}, true);
    stage({{"9999.gif", "dropped"}}, false);
    QCOMPARE(photo.entryList(QDir::Files | QDir::Hidden), (QStringList{"1234.GIF", "5678.gif"}));
    QCOMPARE(contents("1234.GIF") + contents("5678.gif"), QByteArray("newernewer too"));
}

QTEST_GUILESS_MAIN(TestArchiveNames)
#include "tst_archivenames.moc"
