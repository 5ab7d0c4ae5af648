// Quick-view block 23 and notice block 24 from fixture rows.

#include "platform/gridmodel.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"
#include "racecard/noteblocks.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;
using cardtest::columnTexts;

class TestNoteBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    void quickView_data()
    {
        QTest::addColumn<QVariant>("race");
        QTest::addColumn<QVariant>("frame");
        QTest::addColumn<QString>("text");
        QTest::newRow("only race today") << QVariant(0) << QVariant(4) << "本日一回";
        QTest::newRow("one-digit race") << QVariant(9) << QVariant(6) << "９Ｒ６枠";
        QTest::newRow("race 3") << QVariant(3) << QVariant(5) << "３Ｒ５枠";
        QTest::newRow("two-digit race stays half-width") << QVariant(11) << QVariant(1) << "11Ｒ１枠";
        QTest::newRow("race 12") << QVariant(12) << QVariant(2) << "12Ｒ２枠";
        QTest::newRow("missing race") << QVariant() << QVariant(2) << "本日一回";
        QTest::newRow("overflowing race") << QVariant(1e10) << QVariant(2) << "本日一回";
    }
    void quickView()
    {
        QFETCH(QVariant, race);
        QFETCH(QVariant, frame);
        QFETCH(QString, text);
        cardtest::insertBlockBoat(1, {{"hayami_r", race}, {"hayami_w", frame}});
        GridModel grid;
        cardtest::fillBlocks(grid, {23});
        QCOMPARE(grid.cols(), kFixedCols + 2);
        QCOMPARE(grid.colWidth(kFixedCols), 270);
        QCOMPARE(columnTexts(grid, kFixedCols), QString("早　見|早　見|早　見|早　見"));
        QCOMPARE(columnTexts(grid, kFixedCols, 5, 4), QStringList(4, text).join('|'));
        QCOMPARE(grid.mergedRange(5, kFixedCols), QRect(kFixedCols, 5, 1, 4));
        QCOMPARE(grid.backColor(8, kFixedCols), std::optional<QRgb>(0xFFFFFF));
    }

    void notice_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("text");
        QTest::newRow("trimmed") << " \u3000前検一番時計  " << "前検一番時計";
        QTest::newRow("blank") << " \u3000 " << "";
        QTest::newRow("empty") << "" << "";
    }
    void notice()
    {
        QFETCH(QString, memo);
        QFETCH(QString, text);
        cardtest::insertBlockBoat(1, {{"Memo", memo}});
        GridModel grid;
        cardtest::fillBlocks(grid, {24});
        QCOMPARE(grid.colWidth(kFixedCols), 1800);
        QCOMPARE(columnTexts(grid, kFixedCols), QString("お知らせ|お知らせ|お知らせ|お知らせ"));
        for (int row = 5; row <= 8; ++row) {
            QCOMPARE(grid.text(row, kFixedCols), text);
            QCOMPARE(grid.cellAlignment(row, kFixedCols), std::optional<GridAlign>(GridAlign::LeftTop));
            QCOMPARE(grid.backColor(row, kFixedCols), std::optional<QRgb>(0xFFFFFF));
        }
    }
};

QTEST_GUILESS_MAIN(TestNoteBlocks)
#include "tst_noteblocks.moc"
