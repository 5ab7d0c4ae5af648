// The racer detail without a window: title and memo lines, the results grid
// with its merged day cells, frame tints and hidden keys, the popup items, and
// the photo file.

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "lists/racerdisp.h"
#include "samplepaper/samplepaper.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kSetus = 808;

void insertRun(int day, int race, int frame, std::initializer_list<test::Field> more)
{
    test::insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race}, {"wakusno", frame},
                                {"tourokuno", 12}});
    for (const auto &[name, value] : more)
        modkelmon::exec(QStringLiteral("update f_restb set \"%1\" = ? where datescnt = ? and racesno = ?")
                            .arg(QLatin1String(name)),
                        {value, day, race});
}

QStringList rowTexts(const GridModel &g, int row)
{
    QStringList t;
    for (int c = 0; c < g.cols(); ++c)
        t << g.text(row, c);
    return t;
}

} // namespace

class TestRacerDisp : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;

    // Three runs of racer 12: two on day 1, one on day 2; only day 1 has a date.
    void insertThreeRuns()
    {
        insertRun(2, 11, 1, {{"cyakucode", 12}, {"racestime", 0}, {"sinyuno", 1}, {"starttime", 3}, {"chilt", -0.5},
                             {"tenjitime", 6.78}, {"gentenflag", 0}, {"genten", 5}});
        insertRun(1, 9, 5, {{"cyakucode", 14}, {"sinyuno", 0}, {"tenjitime", 0}, {"chilt", 0.5}});
        insertRun(1, 3, 2, {{"cyakucode", 3}, {"racestime", 1496}, {"sinyuno", 4}, {"starttime", 7}, {"chilt", 0},
                            {"tenjitime", 6.7}, {"gentenflag", 2}, {"genten", 5}});
        test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 1}, {"racesno", 1}, {"Date", "20240301"}});
        // Another racer's run and another meeting's stay out.
        test::insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 1}, {"racesno", 3}, {"wakusno", 1},
                                    {"tourokuno", 13}});
        test::insertRow("f_restb", {{"setuscode", kSetus + 1}, {"datescnt", 1}, {"racesno", 3}, {"wakusno", 2},
                                    {"tourokuno", 12}});
    }

private slots:
    void init() { folder = std::make_unique<test::ProgramFolder>(); }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void header()
    {
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", 1}, {"tourokuno", 12},
                                    {"sensyname", "旧い行"}, {"classcode_ge", "B1"}});
        test::insertRow("f_racer", {{"setuscode", kSetus}, {"datescnt", 2}, {"tourokuno", 12},
                                    {"sensyname", " 鈴木一郎　"}, {"tourokuki", 5}, {"adress", 13},
                                    {"classcode_ge", "A1"}, {"syoritu_ge", 6.5}, {"fukuritu_ge", 45},
                                    {"syoritu_zk", 5.425}, {"fukuritu_zk", 100}});
        const RacerHeader h = loadRacerHeader(QString::number(kSetus), "12");
        QVERIFY(h.found);
        QCOMPARE(h.number, QString("0012"));
        QCOMPARE(h.name, QString("鈴木一郎"));
        QCOMPARE(h.memo[0], QString(" 5期 東京"));
        QCOMPARE(h.memo[1], QString("A1級  勝率 6.50 2連対率 45％"));
        QCOMPARE(h.memo[2], QString("最近1年間  勝率 5.43 2連対率100％"));
    }

    void headerOfAnUnknownRacer()
    {
        const RacerHeader h = loadRacerHeader(QString::number(kSetus), "12");
        QVERIFY(!h.found);
        QCOMPARE(h.number, QString("0012"));
        QCOMPARE(h.name, QString());
    }

    void layout()
    {
        GridModel g;
        set_restb_grid(g);
        QCOMPARE(g.cols(), 14);
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.fixedRows(), 1);
        QCOMPARE(g.fixedCols(), 0);
        QCOMPARE(g.rowHeight(0), 260);
        QCOMPARE(rowTexts(g, 0), QStringList({"日程", "Ｒ", "枠", "着順", "タイム", "進入", "ST", "チルト", "展示", "減点",
                                              "", "", "", ""}));
        const QList<int> widths = {540, 280, 280, 740, 660, 460, 300, 640, 450, 1160, 0, 0, 0, 0};
        for (int c = 0; c < 14; ++c)
            QCOMPARE(g.colWidth(c), widths[c]);
        QCOMPARE(g.colAlignment(8), GridAlign::CenterCenter);
        QCOMPARE(g.colAlignment(9), GridAlign::LeftCenter);
        QVERIFY(!racerDetailPopup(g, true));
    }

    void results()
    {
        insertThreeRuns();
        GridModel g;
        g.setRows(7);   // stale rows go
        disp_restb(g, QString::number(kSetus), "12");
        QCOMPARE(g.rows(), 4);
        QCOMPARE(rowTexts(g, 1), QStringList({"1日目", " 3", "2", "３着", "1.49.6", "4", "07", " 0.0", "6.70",
                                              "待機違反  -5", "3", "1496", "+0", "20240301"}));
        QCOMPARE(rowTexts(g, 2), QStringList({"1日目", " 9", "5", "欠場 外", "", "-", "-", "-", "-", "", "14", "",
                                              "+0.5", "20240301"}));
        QCOMPARE(rowTexts(g, 3), QStringList({"2日目", "11", "1", "Ｆ", "", "1", "-", "-0.5", "6.78", "", "12", "",
                                              "-0.5", ""}));
        // The two day-1 cells show as one.
        QCOMPARE(g.mergedRange(1, 0), QRect(0, 1, 1, 2));
        QCOMPARE(g.mergedRange(3, 0), QRect(0, 3, 1, 1));
        QCOMPARE(g.row(), 1);
        QCOMPARE(g.col(), 0);
        // Frame tints on columns 1 to 9: grey for frame 2, yellow for 5, white for 1.
        const QList<QPair<int, int>> tints = {{1, 0xC0C0C0}, {2, 0xFFFFC0}, {3, 0xFFFFFF}};
        for (const auto &[row, rgb] : tints) {
            QVERIFY(!g.backColor(row, 0));
            for (int c = 1; c <= 9; ++c)
                QCOMPARE(int(g.backColor(row, c).value_or(0) & 0xFFFFFF), rgb);
            QVERIFY(!g.backColor(row, 10));
        }
    }

    // A frame outside 1..6 leaves its row without tint.
    void frameOutsideTheTable()
    {
        insertRun(1, 2, 7, {{"cyakucode", 1}, {"tenjitime", 6.7}});
        GridModel g;
        disp_restb(g, QString::number(kSetus), "12");
        QCOMPARE(g.rows(), 2);
        QVERIFY(!g.backColor(1, 3));
    }

    void popupItems_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("resultWindow");
        QTest::addColumn<QString>("items");   // items 0, 1, 2, 4
        QTest::newRow("day") << 2 << 0 << true << "1101";
        QTest::newRow("result words") << 2 << 3 << true << "1101";
        QTest::newRow("start timing") << 2 << 6 << true << "1111";
        QTest::newRow("tilt") << 2 << 7 << true << "1101";
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
        QFETCH(QString, items);
        insertThreeRuns();
        insertRun(0, 5, 3, {{"cyakucode", 2}, {"tenjitime", 6.6}});
        test::insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 0}, {"racesno", 1}, {"Date", "20240229"}});
        GridModel g;
        disp_restb(g, QString::number(kSetus), "12");
        // Rows: 1 day 0, 2 and 3 day 1, 4 day 2 (no date).
        QCOMPARE(g.text(1, 0), QString("0日目"));
        QCOMPARE(g.text(4, 0), QString("2日目"));
        g.setRow(row);
        g.setCol(col);
        const std::optional<PopupItems> shown = racerDetailPopup(g, resultWindow);
        QVERIFY(shown);
        QString got;
        for (int i : {0, 1, 2, 4})
            got += shown->at(i) ? u'1' : u'0';
        QCOMPARE(got, items);
    }

    void photo_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("shown");
        QByteArray png;
        {
            QBuffer b(&png);
            b.open(QIODevice::WriteOnly);
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(Qt::red);
            image.save(&b, "PNG");
        }
        const QByteArray gif = kelmon::buildGif(3, 2, {qRgb(0, 0, 0), qRgb(255, 255, 255)},
                                                        QByteArray("\0\1\0\1\0\1", 6));
        QTest::newRow("gif") << "0012.gif" << gif << true;
        QTest::newRow("name in capitals") << "0012.GIF" << gif << true;
        QTest::newRow("png under a gif name") << "0012.gif" << png << false;
        QTest::newRow("not a picture") << "0012.gif" << QByteArray("GIF89a broken") << false;
        QTest::newRow("empty file") << "0012.gif" << QByteArray() << false;
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
        QCOMPARE(!image.isNull(), shown);
        if (shown)
            QCOMPARE(image.size(), QSize(3, 2));
    }
};

QTEST_GUILESS_MAIN(TestRacerDisp)
#include "tst_racerdisp.moc"
