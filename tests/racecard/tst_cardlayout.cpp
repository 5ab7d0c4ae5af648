// The card's column layout: adding and hiding blocks, and the stored lists.

#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "platform/gridmodel.h"
#include "racecard/cardlayout.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

using Codes = QList<int>;

namespace {

const Codes kNormal{1, 2, 3, 4, 5, 12, 16, 19, 23};

// Writes the stored block list and start columns of the settings row.
void storeLists(const Codes &ri, const Codes &rc)
{
    for (int i = 0; i < 30; ++i)
        modkelmon::exec(QString("update m_kanri set ri%1 = ?, rc%1 = ?").arg(i + 1, 2, 10, QChar('0')),
                        {ri.value(i), rc.value(i)});
}

} // namespace

class TestCardLayout : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void init() { DatabaseTest::init(); read_m_kanri(); }

    void edit_data()
    {
        QTest::addColumn<Codes>("start");
        QTest::addColumn<int>("menu");   // add-menu entry, -1: hide the clicked block
        QTest::addColumn<int>("clickedItem");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<Codes>("columns");
        QTest::newRow("hide block 3") << kNormal << -1 << 11 << true << Codes{1, 2, 4, 5, 12, 16, 19, 23}
                                      << Codes{6, 8, 10, 13, 15, 17, 19, 43};
        QTest::newRow("add after the clicked block") << kNormal << 24 << 7 << true
                                                     << Codes{1, 2, 22, 3, 4, 5, 12, 16, 19, 23}
                                                     << Codes{6, 8, 10, 24, 26, 29, 31, 33, 35, 59};
        QTest::newRow("add from the fixed part goes first") << Codes{4, 5} << 10 << 1 << true << Codes{11, 4, 5}
                                                            << Codes{6, 30, 33};
        QTest::newRow("add a block already there") << kNormal << 1 << 2 << false << kNormal
                                                   << Codes{6, 8, 10, 12, 15, 17, 19, 21, 45};
        QTest::newRow("add a separator entry") << Codes{1} << 11 << 2 << false << Codes{1} << Codes{6};
        QTest::newRow("hide from the fixed part") << Codes{1, 2} << -1 << 1 << false << Codes{1, 2} << Codes{6, 8};
        QTest::newRow("hide the only block") << Codes{19} << -1 << 70 << true << Codes{} << Codes{};
    }
    void edit()
    {
        QFETCH(Codes, start);
        QFETCH(int, menu);
        QFETCH(int, clickedItem);
        QFETCH(bool, changed);
        QFETCH(Codes, codes);
        QFETCH(Codes, columns);
        CardLayout layout = CardLayout::fromCodes(start);
        QCOMPARE(menu < 0 ? layout.del_column(clickedItem) : layout.add_column(menu, clickedItem), changed);
        QCOMPARE(layout.codes(), codes);
        QCOMPARE(layout.startColumns(), columns);
        for (int i = layout.count(); i < CardLayout::kSlots; ++i)
            QVERIFY(layout.ri(i) == 0 && layout.rc(i) == 0);
    }

    void saveAndLoad()
    {
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
        CardLayout::all().save_m_kanri();
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::all());
        CardLayout hidden = CardLayout::normal();
        hidden.del_column(11);
        hidden.save_m_kanri();
        QCOMPARE(CardLayout::load_m_kanri(), hidden);
        modkelmon::exec("delete from m_kanri");
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
    }

    // A stored list is never trusted: bad codes and repeats are dropped and
    // the start columns follow from the widths, so a fill stays in the grid.
    void sanitiseStoredRow_data()
    {
        QTest::addColumn<Codes>("ri");
        QTest::addColumn<Codes>("rc");
        QTest::addColumn<Codes>("codes");
        QTest::newRow("codes outside 1..24") << Codes{1, 25, 2, -3, 99, 3} << Codes{6, 8, 10, 12, 14, 16}
                                             << Codes{1, 2, 3};
        QTest::newRow("duplicates") << Codes{19, 1, 19, 1, 2} << Codes{6, 30, 32, 56, 58} << Codes{19, 1, 2};
        QTest::newRow("start columns") << Codes{1, 2, 3} << Codes{500, 7, 9000} << Codes{1, 2, 3};
        QTest::newRow("the first 0 ends the list") << Codes{1, 0, 3} << Codes{6, 8, 10} << Codes{1};
        QTest::newRow("thirty slots of one code") << Codes(30, 5) << Codes(30, 6) << Codes{5};
    }
    void sanitiseStoredRow()
    {
        QFETCH(Codes, ri);
        QFETCH(Codes, rc);
        QFETCH(Codes, codes);
        storeLists(ri, rc);
        const CardLayout layout = CardLayout::load_m_kanri();
        QCOMPARE(layout, CardLayout::fromCodes(codes));
        int col = kFixedCols;
        for (int i = 0; i < layout.count(); ++i) {
            QCOMPARE(layout.rc(i), col);
            col += get_colcount(layout.ri(i));
        }
        cardtest::insertSixBoats();
        GridModel grid;
        cardtest::fillBlocks(grid, codes);
        QCOMPARE(grid.cols(), col);
    }
};

QTEST_GUILESS_MAIN(TestCardLayout)
#include "tst_cardlayout.moc"
