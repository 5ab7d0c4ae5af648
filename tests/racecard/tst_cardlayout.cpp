// The card's column layout: add, hide, normal, all, and storage in m_kanri.

#include "common/modkelmon.h"
#include "platform/gridmodel.h"
#include "racecard/blockcatalogue.h"
#include "racecard/cardengine.h"
#include "racecard/cardtables.h"
#include "racecard/cardlayout.h"
#include "racecard/helpers/cardfixture.h"

#include <QSqlQuery>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

using Codes = QList<int>;

namespace {

QVector<int> vec(const Codes &codes)
{
    return QVector<int>(codes.begin(), codes.end());
}

const Codes kNormal{1, 2, 3, 4, 5, 12, 16, 19, 23};
const Codes kAllColumns{6, 8, 10, 12, 15, 17, 20, 22, 28, 30, 36, 60,
                        62, 65, 67, 71, 73, 76, 80, 104, 106, 132, 146, 148};

// The stored block list and start columns, read back as the database holds them.
QPair<Codes, Codes> storedLists()
{
    QSqlQuery q = modkelmon::exec("select * from m_kanri where kanricode = ?", {1});
    Codes ri, rc;
    if (q.next())
        for (int i = 0; i < 30; ++i) {
            ri << q.value(i + 1).toInt();
            rc << q.value(i + 31).toInt();
        }
    return {ri, rc};
}

void storeLists(const Codes &ri, const Codes &rc)
{
    QString sql = "update m_kanri set ";
    QVariantList values;
    for (int i = 0; i < 30; ++i) {
        sql += QString("ri%1 = ?, rc%1 = ?, ").arg(i + 1, 2, 10, QChar('0'));
        values << (i < ri.size() ? ri[i] : 0) << (i < rc.size() ? rc[i] : 0);
    }
    sql.chop(2);
    sql += " where kanricode = 1";
    modkelmon::exec(sql, values);
}

} // namespace

class TestCardLayout : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
    }
    void cleanup() { folder.reset(); }

    void normalAndAll()
    {
        const CardLayout normal = CardLayout::normal();
        QCOMPARE(normal.codes(), vec(kNormal));
        QCOMPARE(normal.startColumns(), (QVector<int>{6, 8, 10, 12, 15, 17, 19, 21, 45}));
        QCOMPARE(normal.columnCount(), 47);
        const CardLayout all = CardLayout::all();
        QCOMPARE(all.count(), 24);
        QCOMPARE(all.startColumns(), vec(kAllColumns));
        QCOMPARE(all.columnCount(), 150);
        QCOMPARE(all.ri(24), 0);
        QCOMPARE(all.rc(29), 0);
    }

    void edit_data()
    {
        QTest::addColumn<Codes>("start");
        QTest::addColumn<QString>("action");   // "add" or "hide"
        QTest::addColumn<int>("clickedItem");
        QTest::addColumn<int>("menu");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<Codes>("columns");
        QTest::newRow("hide block 3") << kNormal << "hide" << 11 << 0 << true
                                      << Codes{1, 2, 4, 5, 12, 16, 19, 23}
                                      << Codes{6, 8, 10, 13, 15, 17, 19, 43};
        QTest::newRow("add exhibition after block 2") << kNormal << "add" << 7 << 24 << true
                                                      << Codes{1, 2, 22, 3, 4, 5, 12, 16, 19, 23}
                                                      << Codes{6, 8, 10, 24, 26, 29, 31, 33, 35, 59};
        QTest::newRow("add from the fixed part") << Codes{4, 5} << "add" << 1 << 10 << true
                                                 << Codes{11, 4, 5} << Codes{6, 30, 33};
        QTest::newRow("add to an empty list") << Codes{} << "add" << 1 << 0 << true
                                              << Codes{1} << Codes{6};
        QTest::newRow("add after the last block") << Codes{1, 2} << "add" << 6 << 27 << true
                                                  << Codes{1, 2, 24} << Codes{6, 8, 10};
        QTest::newRow("add a block already there") << kNormal << "add" << 2 << 1 << false
                                                   << kNormal << Codes{6, 8, 10, 12, 15, 17, 19, 21, 45};
        QTest::newRow("add a separator entry") << Codes{1} << "add" << 2 << 11 << false
                                               << Codes{1} << Codes{6};
        QTest::newRow("add after a block not on the card") << Codes{1} << "add" << 40 << 1 << false
                                                           << Codes{1} << Codes{6};
        QTest::newRow("hide from the fixed part") << Codes{1, 2} << "hide" << 1 << 0 << false
                                                  << Codes{1, 2} << Codes{6, 8};
        QTest::newRow("hide the last block") << Codes{1, 2} << "hide" << 8 << 0 << true
                                             << Codes{1} << Codes{6};
        QTest::newRow("hide the only block") << Codes{19} << "hide" << 70 << 0 << true
                                             << Codes{} << Codes{};
    }
    void edit()
    {
        QFETCH(Codes, start);
        QFETCH(QString, action);
        QFETCH(int, clickedItem);
        QFETCH(int, menu);
        QFETCH(bool, changed);
        QFETCH(Codes, codes);
        QFETCH(Codes, columns);
        CardLayout layout = CardLayout::fromCodes(vec(start));
        const bool result = action == "add" ? layout.add_column(menu, clickedItem)
                                            : layout.del_column(clickedItem);
        QCOMPARE(result, changed);
        QCOMPARE(layout.codes(), vec(codes));
        QCOMPARE(layout.startColumns(), vec(columns));
        for (int i = layout.count(); i < CardLayout::kSlots; ++i) {
            QCOMPARE(layout.ri(i), 0);
            QCOMPARE(layout.rc(i), 0);
        }
    }

    void addingEveryBlockAfterHidingAll()
    {
        CardLayout layout = CardLayout::normal();
        while (layout.count() > 0)
            layout.del_column(blockItemOf(layout.ri(0)));
        // From the fixed part, each add goes to the front: add in reverse.
        for (int menu = 27; menu >= 0; --menu)
            layout.add_column(menu, 1);
        QCOMPARE(layout, CardLayout::all());
        // Every block is on the card: no further add changes it.
        for (int menu = 0; menu < 28; ++menu)
            QVERIFY(!layout.add_column(menu, 1));
    }

    void saveAndLoad()
    {
        CardLayout::all().save_m_kanri();
        const auto [ri, rc] = storedLists();
        Codes allCodes;
        for (int c = 1; c <= 24; ++c)
            allCodes << c;
        QCOMPARE(ri.mid(0, 24), allCodes);
        QCOMPARE(rc.mid(0, 24), kAllColumns);
        QCOMPARE(ri.mid(24), (Codes{0, 0, 0, 0, 0, 0}));
        QCOMPARE(rc.mid(24), (Codes{0, 0, 0, 0, 0, 0}));
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::all());
        // The other settings of the row are left alone.
        QCOMPARE(modkelmon::scalar("select count(*) from m_kanri").toInt(), 1);

        CardLayout hidden = CardLayout::normal();
        hidden.del_column(11);
        hidden.save_m_kanri();
        QCOMPARE(CardLayout::load_m_kanri(), hidden);
    }

    void defaultRowIsTheNormalLayout()
    {
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
    }

    void missingRowGivesTheNormalLayout()
    {
        modkelmon::exec("delete from m_kanri");
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
    }

    void sanitiseStoredRow_data()
    {
        QTest::addColumn<Codes>("ri");
        QTest::addColumn<Codes>("rc");
        QTest::addColumn<Codes>("codes");
        QTest::newRow("codes outside 1..24 dropped") << Codes{1, 25, 2, -3, 99, 3} << Codes{6, 8, 10, 12, 14, 16}
                                                     << Codes{1, 2, 3};
        QTest::newRow("duplicates dropped") << Codes{19, 1, 19, 1, 2} << Codes{6, 30, 32, 56, 58}
                                            << Codes{19, 1, 2};
        QTest::newRow("start columns not trusted") << Codes{1, 2, 3} << Codes{500, 7, 9000}
                                                   << Codes{1, 2, 3};
        QTest::newRow("the first 0 ends the list") << Codes{1, 0, 3} << Codes{6, 8, 10} << Codes{1};
        QTest::newRow("nothing valid") << Codes{30, 40} << Codes{6, 8} << Codes{};
        QTest::newRow("thirty slots of one code") << Codes(30, 5) << Codes(30, 6) << Codes{5};
    }
    void sanitiseStoredRow()
    {
        QFETCH(Codes, ri);
        QFETCH(Codes, rc);
        QFETCH(Codes, codes);
        storeLists(ri, rc);
        const CardLayout layout = CardLayout::load_m_kanri();
        QCOMPARE(layout.codes(), vec(codes));
        QCOMPARE(layout, CardLayout::fromCodes(vec(codes)));
        // Start columns follow from the widths, so a fill never writes past the grid.
        int col = 6;
        for (int i = 0; i < layout.count(); ++i) {
            QCOMPARE(layout.rc(i), col);
            col += get_colcount(layout.ri(i));
        }
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        card.context.setuscode = QString::number(cardtest::kSetus);
        card.context.datescnt = QString::number(cardtest::kDay);
        card.context.racesno = QString::number(cardtest::kRace);
        card.layout = layout;
        card.disp_raceinfo(0);
        QCOMPARE(grid.cols(), col);
    }

    void cardCommands()
    {
        cardtest::insertSixBoats();
        GridModel grid;
        RaceCardEngine card(grid);
        card.context.setuscode = QString::number(cardtest::kSetus);
        card.context.datescnt = QString::number(cardtest::kDay);
        card.context.racesno = QString::number(cardtest::kRace);
        card.load_m_kanri();
        card.set_allgrid();
        QCOMPARE(grid.cols(), 150);
        QCOMPARE(card.item_no, 1);

        // Hide block 3 through a right-click on one of its cells.
        PopupState state;
        QCOMPARE(card.set_popup_menu(boatRow(2) + 1, 10, &state), 11);
        card.del_column();
        QCOMPARE(grid.cols(), 148);
        QCOMPARE(card.item_no, 1);
        QVERIFY(!card.layout.contains(3));

        // Add it back after block 2 from the add submenu (entry 2).
        QCOMPARE(card.set_popup_menu(boatRow(1), 8, &state), 6);
        QVERIFY(state.addEnabled[2]);
        QVERIFY(!state.addEnabled[1]);
        card.add_column(2);
        QCOMPARE(card.layout, CardLayout::all());
        QCOMPARE(grid.cols(), 150);

        card.set_normalgrid();
        QCOMPARE(grid.cols(), 47);
        card.save_m_kanri();
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
    }

private:
    static int blockItemOf(int code)
    {
        return blockInfo(code)->firstItem;
    }
};

QTEST_GUILESS_MAIN(TestCardLayout)
#include "tst_cardlayout.moc"
