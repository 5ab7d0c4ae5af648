// The racer detail without a window: title and memo lines, the results grid
// with its merged day cells and frame tints, the popup items, and the photo.

#include "common/programfolder.h"
#include "lists/helpers/listfixture.h"
#include "lists/racerdisp.h"
#include "samplepaper/samplepaper.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;
using test::rowTexts;

namespace {

constexpr int kSetus = 808;
const QString kSetusText = QString::number(kSetus);

void insertRun(int day, int race, int frame, std::initializer_list<test::Field> more)
{
    test::insertDayRow("f_restb", kSetus, day, {{"racesno", race}, {"wakusno", frame}, {"tourokuno", 12}}, more);
}

// Runs of racer 12: day 0 (dated), two on day 1 (dated), one on day 2 (no date).
void insertRuns()
{
    insertRun(2, 11, 1, {{"cyakucode", 12}, {"sinyuno", 1}, {"starttime", 3}, {"chilt", -0.5}, {"tenjitime", 6.78},
                         {"genten", 5}});
    insertRun(1, 9, 5, {{"cyakucode", 14}, {"chilt", 0.5}});
    insertRun(1, 3, 2, {{"cyakucode", 3}, {"racestime", 1496}, {"sinyuno", 4}, {"starttime", 7}, {"tenjitime", 6.7},
                        {"gentenflag", 2}, {"genten", 5}});
    insertRun(0, 5, 7, {{"cyakucode", 2}, {"tenjitime", 6.6}});
    for (int day : {0, 1})
        test::insertDayRow("f_resta", kSetus, day, {{"racesno", 1}, {"Date", QStringLiteral("2024030%1").arg(day + 1)}});
    // Another racer's run and another meeting's stay out.
    test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 3}, {"wakusno", 1}, {"tourokuno", 13}});
    test::insertDayRow("f_restb", kSetus + 1, 1, {{"racesno", 3}, {"wakusno", 2}, {"tourokuno", 12}});
}

} // namespace

class TestRacerDisp : public test::DatabaseTest {
    Q_OBJECT
private slots:
    // The header comes from the racer's newest day; an unknown racer has his number only.
    void header()
    {
        RacerHeader h = loadRacerHeader(kSetusText, "12");
        QVERIFY(!h.found);
        QCOMPARE(h.number, QString("0012"));
        test::insertDayRow("f_racer", kSetus, 1, {{"tourokuno", 12}, {"sensyname", "旧い行"}, {"classcode_ge", "B1"}});
        test::insertDayRow("f_racer", kSetus, 2, {{"tourokuno", 12}, {"sensyname", " 鈴木一郎　"}, {"tourokuki", 5},
                                                  {"adress", 13}, {"classcode_ge", "A1"}, {"syoritu_ge", 6.5},
                                                  {"fukuritu_ge", 45}, {"syoritu_zk", 5.425}, {"fukuritu_zk", 100}});
        h = loadRacerHeader(kSetusText, "12");
        QVERIFY(h.found);
        QCOMPARE(h.name, QString("鈴木一郎"));
        QCOMPARE(h.memo[0], QString(" 5期 東京"));
        QCOMPARE(h.memo[1], QString("A1級  勝率 6.50 2連対率 45％"));
        QCOMPARE(h.memo[2], QString("最近1年間  勝率 5.43 2連対率100％"));
    }

    void results()
    {
        insertRuns();
        GridModel g;
        g.setRows(9);   // stale rows go
        disp_restb(g, kSetusText, "12");
        QCOMPARE(g.rows(), 5);
        QCOMPARE(rowTexts(g, 2), (QStringList{"1日目", " 3", "2", "３着", "1.49.6", "4", "07", " 0.0", "6.70",
                                              "待機違反  -5", "3", "1496", "+0", "20240302"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"1日目", " 9", "5", "欠場 外", "", "-", "-", "-", "-", "", "14", "",
                                              "+0.5", "20240302"}));
        QCOMPARE(rowTexts(g, 4), (QStringList{"2日目", "11", "1", "Ｆ", "", "1", "-", "-0.5", "6.78", "", "12", "",
                                              "-0.5", ""}));
        QCOMPARE(g.mergedRange(2, 0), QRect(0, 2, 1, 2));   // the two day-1 cells show as one
        QCOMPARE(g.row(), 1);
        // Frame tints on columns 1 to 9: grey for frame 2, yellow for 5; none for frame 7.
        for (const auto &[row, rgb] : QList<std::pair<int, QRgb>>{{2, 0xC0C0C0}, {3, 0xFFFFC0}}) {
            QVERIFY(!g.backColor(row, 0) && !g.backColor(row, 10));
            QCOMPARE(g.backColor(row, 1), std::optional<QRgb>(rgb));
            QCOMPARE(g.backColor(row, 9), std::optional<QRgb>(rgb));
        }
        QVERIFY(!g.backColor(1, 3));
    }

    void popupItems_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("resultWindow");
        QTest::addColumn<QString>("items");   // items 0, 1, 2, 4
        QTest::newRow("result words") << 2 << 3 << true << "1101";
        QTest::newRow("start timing") << 2 << 6 << true << "1111";
        QTest::newRow("exhibition") << 2 << 8 << true << "1111";
        QTest::newRow("penalty") << 2 << 9 << true << "0001";
        QTest::newRow("no result window") << 2 << 6 << false << "1110";
        QTest::newRow("day 0 opens no result") << 1 << 1 << true << "1100";
        QTest::newRow("day without a date opens no result") << 4 << 1 << true << "1100";
    }
    void popupItems()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, resultWindow);
        insertRuns();
        GridModel g;
        set_restb_grid(g);
        QVERIFY(!racerDetailPopup(g, true));   // the header-only grid has no popup
        disp_restb(g, kSetusText, "12");
        g.setRow(row);
        g.setCol(col);
        const std::optional<PopupItems> shown = racerDetailPopup(g, resultWindow);
        QVERIFY(shown);
        QString got;
        for (int i : {0, 1, 2, 4})
            got += shown->at(i) ? u'1' : u'0';
        QTEST(got, "items");
    }

    // The photo is read only as a GIF, by a name in any case.
    void photo_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("shown");
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(2, 2, QImage::Format_RGB32).save(&buffer, "PNG");
        const QByteArray gif = buildGif(3, 2, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, QByteArray("\0\1\0\1\0\1", 6));
        QTest::newRow("gif") << "0012.gif" << gif << true;
        QTest::newRow("name in capitals") << "0012.GIF" << gif << true;
        QTest::newRow("png under a gif name") << "0012.gif" << png << false;
        QTest::newRow("broken gif") << "0012.gif" << QByteArray("GIF89a broken") << false;
        QTest::newRow("another racer's photo only") << "0013.gif" << gif << false;
    }
    void photo()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(bool, shown);
        QDir().mkpath(photoFolder());
        QFile f(QDir(photoFolder()).filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        const QImage image = loadRacerPhoto(racerPhotoPath("12"));
        QCOMPARE(image.size(), shown ? QSize(3, 2) : QSize(0, 0));
    }
};

QTEST_GUILESS_MAIN(TestRacerDisp)
#include "tst_racerdisp.moc"
