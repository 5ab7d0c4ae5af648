// The card with all 24 blocks: its columns, the item of every cell, and the
// painted card.

#include "common/modkelmon.h"
#include "platform/gridmodel.h"
#include "platform/ui/gridview.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/carditems.h"
#include "racecard/helpers/blockfixture.h"
#include "racecard/helpers/cardfixture.h"

#include <QImage>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

class TestAllBlocks : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

    static QList<int> allCodes()
    {
        QList<int> codes;
        for (int code = 1; code <= kBlockCodes; ++code)
            codes << code;
        return codes;
    }

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
        for (int frame = 1; frame <= 6; ++frame)
            cardtest::insertBlockBoat(frame);
    }
    void cleanup() { folder.reset(); }

    void everyBlockHasItsBuilderAndWidths()
    {
        for (const BlockInfo &info : blockCatalogue()) {
            QVERIFY2(info.builder, qPrintable(QString::number(info.code)));
            QCOMPARE(int(info.builder->widths.size()), info.width);
            QCOMPARE(info.builder->widths.back(), 10);
        }
    }

    void allBlocksLayout()
    {
        GridModel grid;
        QCOMPARE(cardtest::fillBlocks(grid, allCodes()), 6);
        QCOMPARE(grid.cols(), 150);
        // A second fill (a sort) rebuilds the same columns.
        cardtest::fillBlocks(grid, allCodes(), 40, 1);
        QCOMPARE(grid.cols(), 150);
        const CardLayout layout = CardLayout::all();
        for (int i = 0; i < layout.count(); ++i) {
            const BlockInfo *info = blockInfo(layout.ri(i));
            for (int j = 0; j < info->width; ++j)
                QCOMPARE(grid.colWidth(layout.rc(i) + j), int(info->builder->widths[std::size_t(j)]));
        }
    }

    // Every cell that carries an item belongs to the block drawn in its
    // column; separators carry none and stay empty below the header.
    void itemMap()
    {
        GridModel grid;
        cardtest::fillBlocks(grid, allCodes());
        const CardLayout layout = CardLayout::all();
        QSet<int> seen;
        for (int col = kFixedCols; col < grid.cols(); ++col) {
            const int i = layout.blockAtColumn(col);
            QVERIFY(i >= 0);
            const int code = layout.ri(i);
            const BlockInfo *info = blockInfo(code);
            for (int row = 0; row < kGridRows; ++row) {
                const int item = get_cell_item(layout, row, col);
                if (item == 0) {
                    if (row >= kHeaderRows)
                        QVERIFY2(grid.text(row, col).isEmpty(),
                                 qPrintable(QString("block %1 row %2 col %3").arg(code).arg(row).arg(col)));
                    continue;
                }
                QVERIFY(item >= info->firstItem && item <= info->lastItem);
                QCOMPARE(blockCodeOfItem(item), code);
                seen.insert(item);
            }
        }
        QCOMPARE(seen.size(), 86);   // items 2..87
        QCOMPARE(get_cell_item(layout, 5, 150), 0);
    }

    // No cell is drawn with black text on a black background, whatever the
    // paper's colour digits say.
    void noBlackOnBlack()
    {
        modkelmon::exec(QStringLiteral("update f_wakus set seiseki_ks = ? where wakusno = ?"),
                        {QStringLiteral("0550011496"), 3});
        GridModel grid;
        cardtest::fillBlocks(grid, allCodes());
        int black = 0;
        for (int row = 0; row < grid.rows(); ++row) {
            for (int col = 0; col < grid.cols(); ++col) {
                if (grid.backColor(row, col) != std::optional<QRgb>(0x000000))
                    continue;
                ++black;
                QVERIFY(grid.foreColor(row, col).has_value());
                QVERIFY(*grid.foreColor(row, col) != 0x000000);
            }
        }
        QCOMPARE(black, 4);
    }

    // The popup reads the race back from the cells of blocks 19 and 23.
    void racesReadBackFromCells()
    {
        GridModel grid;
        cardtest::fillBlocks(grid, {19, 23});
        const int top = boatRow(2);
        const auto result = clickedRace(64, top + 1, grid.text(top + 1, kFixedCols));
        QVERIFY(result);
        QCOMPARE(result->day, 1);
        QCOMPARE(result->race, 5);
        const auto other = clickedRace(69, top, grid.text(top, kFixedCols + 10));
        QVERIFY(other);
        QCOMPARE(other->day, 3);
        QCOMPARE(other->race, 2);
        QVERIFY(!clickedRace(66, top, grid.text(top, kFixedCols + 4)));   // empty slot
        const auto early = clickedRace(86, top, grid.text(top, kFixedCols + 24));
        QVERIFY(early);
        QCOMPARE(early->race, 10);
        QCOMPARE(grid.text(boatRow(1), kFixedCols + 24), QString("本日一回"));
    }

    void paintsTheWholeCard()
    {
        GridModel grid;
        cardtest::fillBlocks(grid, allCodes());
        GridView view;
        view.setModel(&grid);
        view.modelChanged();
        const QImage image = view.renderAll();
        QVERIFY(!image.isNull());
        int width = 0;
        for (int c = 0; c < grid.cols(); ++c)
            width += grid.colWidth(c);
        QVERIFY(image.width() >= width / 15 - grid.cols());
        const QString dir = qEnvironmentVariable("KELMON_CARD_IMAGE_DIR");
        if (!dir.isEmpty())
            QVERIFY(image.save(dir + "/allblocks.png"));
    }
};

QTEST_MAIN(TestAllBlocks)
#include "tst_allblocks.moc"
