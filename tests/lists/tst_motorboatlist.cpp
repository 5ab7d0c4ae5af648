// The motor and boat list grids without a window: one layout for both, the
// cells of a motor and of a boat, the best-time cell, bad input, and which
// popup items a right-click enables.

#include "common/modkelmon.h"
#include "lists/motorboatlist.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::lists;

Q_DECLARE_METATYPE(kelmon::lists::MachineList)

namespace {

constexpr int kSetus = 777;
constexpr int kDay = 2;

void insertMachine(const MachineList &list, int number, std::initializer_list<test::Field> more = {})
{
    test::insertRow(list.table, {{"setuscode", kSetus}, {"datescnt", kDay}, {list.key, number}});
    for (const auto &[name, value] : more)
        modkelmon::exec(QStringLiteral("update %1 set \"%2\" = ? where %3 = ?")
                            .arg(QLatin1String(list.table), QLatin1String(name), QLatin1String(list.key)),
                        {value, number});
}

QStringList rowTexts(const GridModel &g, int row)
{
    QStringList t;
    for (int c = 0; c < g.cols(); ++c)
        t << g.text(row, c);
    return t;
}

void load(GridModel &g, const MachineList &list)
{
    set_machinelist_grid(g);
    disp_machinelist(g, list, QString::number(kSetus), QString::number(kDay));
}

} // namespace

class TestMotorBoatList : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;

    static void bothLists()
    {
        QTest::addColumn<MachineList>("list");
    }

private slots:
    void init() { folder = std::make_unique<test::ProgramFolder>(); }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void layout()
    {
        GridModel g;
        set_machinelist_grid(g);
        QCOMPARE(g.cols(), 17);
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.fixedRows(), 1);
        QCOMPARE(g.fixedCols(), 0);
        QCOMPARE(g.rowHeight(0), 260);
        QCOMPARE(rowTexts(g, 0), QStringList({"№", "勝率", "2連対率", "3連対率", "最高時計", "1着", "2着", "3着", "4着",
                                              "5着", "6着", "出走", "優出", "優勝", "使用選手", "", ""}));
        const QList<int> widths = {460, 540, 760, 760, 840, 360, 360, 360, 360, 360, 360, 450, 450, 450, 840, 0, 0};
        for (int c = 0; c < 17; ++c)
            QCOMPARE(g.colWidth(c), widths[c]);
        QCOMPARE(g.colAlignment(14), GridAlign::CenterCenter);
        QCOMPARE(g.colAlignment(15), GridAlign::LeftCenter);
        // Heading colours (written &HBBGGRR in the design) as RGB.
        const QList<int> rgb = {-1, 0xFFC0C0, 0xFFC0C0, 0xFFC0C0, 0xFFC0C0, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF,
                                0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0C0FF, -1, -1};
        for (int c = 0; c < 17; ++c) {
            const std::optional<QRgb> back = g.backColor(0, c);
            QCOMPARE(back ? int(*back & 0xFFFFFF) : -1, rgb[c]);
        }
    }

    // Every cell of a motor and of a boat, from values worked out by hand.
    void cells_data()
    {
        bothLists();
        QTest::newRow("motor") << kMotorList;
        QTest::newRow("boat") << kBoatList;
    }
    void cells()
    {
        QFETCH(MachineList, list);
        insertMachine(list, 23, {{"syoritu", 6.125}, {"fukuritu", 42}, {"fukuritu_3", 61}, {"firsttime", 1496},
                                 {"syuso_1", 12}, {"syuso_2", 9}, {"syuso_3", 8}, {"syuso_4", 7}, {"syuso_5", 6},
                                 {"syuso_6", 5}, {"syuso_all", 47}, {"yusyu", 2}, {"yusyo", 1},
                                 {"sensyname", "佐藤花子さん"}, {"tourokuno", 4321}});
        GridModel g;
        load(g, list);
        QCOMPARE(g.rows(), 2);
        QCOMPARE(rowTexts(g, 1), QStringList({"23", " 6.13", " 42", " 61", "1.49.6", " 12", "  9", "  8", "  7", "  6",
                                              "  5", " 47", " 2", " 1", "佐藤花子", "1496", "4321"}));
        QCOMPARE(g.row(), 1);
        QCOMPARE(g.col(), 0);
    }

    void edgeCells_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::newRow("no best time") << "firsttime" << QVariant(0) << 4 << "";
        QTest::newRow("no best time, raw 0") << "firsttime" << QVariant(0) << 15 << "0";
        QTest::newRow("best time below 1000") << "firsttime" << QVariant(58) << 4 << "0.05.8";
        QTest::newRow("negative best time") << "firsttime" << QVariant(-5) << 4 << "";
        QTest::newRow("number above 99 whole") << "motorno" << QVariant(123) << 0 << "123";
        QTest::newRow("no user") << "sensyname" << QVariant("") << 14 << "";
        QTest::newRow("rate of 10 and more") << "syoritu" << QVariant(10.5) << 1 << "10.50";
    }
    void edgeCells()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(int, col);
        QFETCH(QString, text);
        insertMachine(kMotorList, 5, {{"firsttime", 1500}, {"sensyname", "選手"}});
        modkelmon::exec(QStringLiteral("update f_motor set \"%1\" = ?").arg(field), {value});
        GridModel g;
        load(g, kMotorList);
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.text(1, col), text);
    }

    // Each list reads its own table in key order; a refill empties first.
    void tablesAndOrder()
    {
        insertMachine(kMotorList, 40);
        insertMachine(kMotorList, 3);
        insertMachine(kBoatList, 77);
        GridModel g;
        load(g, kMotorList);
        QCOMPARE(g.rows(), 3);
        QCOMPARE(QStringList({g.text(1, 0), g.text(2, 0)}), QStringList({" 3", "40"}));
        disp_machinelist(g, kBoatList, QString::number(kSetus), QString::number(kDay));
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.text(1, 0), QString("77"));
        disp_machinelist(g, kBoatList, QString::number(kSetus), QString::number(kDay + 1));
        QCOMPARE(g.rows(), 1);
        QVERIFY(!machineListPopup(g));
    }

    void popupItems_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("items");   // items 2 and 4 as 1/0
        QTest::newRow("number") << 1 << 0 << "01";
        QTest::newRow("rate") << 1 << 1 << "11";
        QTest::newRow("best time") << 1 << 4 << "11";
        QTest::newRow("starts") << 1 << 11 << "11";
        QTest::newRow("user name") << 1 << 14 << "01";
        QTest::newRow("row without user") << 2 << 3 << "10";
        QTest::newRow("blank user") << 3 << 3 << "10";
    }
    void popupItems()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, items);
        insertMachine(kBoatList, 1, {{"sensyname", "選手"}, {"tourokuno", 4000}});
        insertMachine(kBoatList, 2);
        insertMachine(kBoatList, 3, {{"sensyname", "　 "}});
        GridModel g;
        load(g, kBoatList);
        g.setRow(row);
        g.setCol(col);
        const std::optional<PopupItems> shown = machineListPopup(g);
        QVERIFY(shown);
        QCOMPARE(QString("%1%2").arg(shown->at(2) ? 1 : 0).arg(shown->at(4) ? 1 : 0), items);
        QVERIFY(!shown->count(0) && !shown->count(1));   // sorting is never changed here
    }
};

QTEST_GUILESS_MAIN(TestMotorBoatList)
#include "tst_motorboatlist.moc"
