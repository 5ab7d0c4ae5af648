// Titles of the download list read from paper archive names.

#include "download/papertitle.h"

#include <QtTest>

using namespace kelmon;

class TestPaperTitle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void titles_data();
    void titles();
};

void TestPaperTitle::titles_data()
{
    const QString bad = QStringLiteral("ファイル名が不正です...ダウンロードしないで下さい");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("first day, grade 1") << "023b0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/03/11)";
    QTest::newRow("seven characters") << "023b0a1" << bad;
    QTest::newRow("month 0") << "020b0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/00/11)";
    QTest::newRow("month F") << "02Fb0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/15/11)";
    QTest::newRow("month g") << "02gb0a11.lzh" << bad;
    QTest::newRow("day 0") << "02300a11.lzh" << bad;
    QTest::newRow("day w") << "023w0a11.lzh" << bad;
    QTest::newRow("day A is 10") << "023A0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/03/10)";
    QTest::newRow("day v is 31") << "023v0a11.lzh" << "桐　生  >> 一般 初日　　　(2002/03/31)";
    QTest::newRow("venue y") << "023b0y11.lzh" << bad;
    QTest::newRow("venue X") << "023b0X11.lzh" << "大　村  >> 一般 初日　　　(2002/03/11)";
    QTest::newRow("venue i") << "023b0i11.lzh" << "　津　  >> 一般 初日　　　(2002/03/11)";
    QTest::newRow("last day SG") << "123b0l55.lzh" << "住之江  >> ＳＧ 最終日　　(2012/03/11)";
    QTest::newRow("semi-final GI") << "123b0l44.lzh" << "住之江  >> ＧⅠ 準優　　　(2012/03/11)";
    QTest::newRow("last qualifying GII") << "123b0l33.lzh" << "住之江  >> ＧⅡ 予選最終日(2012/03/11)";
    QTest::newRow("qualifying GIII") << "123b0l22.lzh" << "住之江  >> ＧⅢ 予選　　　(2012/03/11)";
    QTest::newRow("day kind 6") << "023b0a61.lzh" << bad;
    QTest::newRow("grade 0") << "023b0a10.lzh" << bad;
    QTest::newRow("year with a sign") << "-23b0a11.lzh" << bad;
    QTest::newRow("empty") << "" << bad;
}

void TestPaperTitle::titles()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(comp_papertitle(name), title);
}

QTEST_GUILESS_MAIN(TestPaperTitle)
#include "tst_papertitle.moc"
