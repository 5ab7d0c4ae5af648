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

// A layout, the add-menu entry chosen (-1: hide the clicked block) on the
// clicked item, whether the layout changes, its codes and start columns after.
struct Edit {
    Codes start; int menu, clickedItem; bool changed; Codes codes, columns;
};

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestCardLayout : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void init() { DatabaseTest::init(); read_m_kanri(); }

    void edit_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("hide block 3") << Edit{kNormal, -1, 11, true, {1, 2, 4, 5, 12, 16, 19, 23},
                                              {6, 8, 10, 13, 15, 17, 19, 43}};
        QTest::newRow("add after the clicked block") << Edit{kNormal, 24, 7, true, {1, 2, 22, 3, 4, 5, 12, 16, 19, 23},
                                                             {6, 8, 10, 24, 26, 29, 31, 33, 35, 59}};
        QTest::newRow("add from the fixed part goes first") << Edit{{4, 5}, 10, 1, true, {11, 4, 5}, {6, 30, 33}};
        QTest::newRow("add a block already there") << Edit{kNormal, 1, 2, false, kNormal, {6, 8, 10, 12, 15, 17, 19, 21, 45}};
        QTest::newRow("add a separator entry") << Edit{{1}, 11, 2, false, {1}, {6}};
        QTest::newRow("hide from the fixed part") << Edit{{1, 2}, -1, 1, false, {1, 2}, {6, 8}};
        QTest::newRow("hide the only block") << Edit{{19}, -1, 70, true, {}, {}};
    }
    void edit()
    {
        QFETCH(Edit, edit);
        const auto &[start, menu, clickedItem, changed, codes, columns] = edit;
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
