// The previous runs of a boat slot: the description of each of the eight
// panels, the no-record messages, and the result cells cut from a run
// history with their race-kind colours.

#include "racedetails/zenso.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QSqlField>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

// The race-kind colours as the paper writes them (&HBBGGRR), in RGB.
constexpr QRgb kWhite = 0xFFFFFF, kPink = 0xFFC0C0, kBlue = 0xC0C0FF, kGrey = 0xE0E0E0, kGreen = 0xC0FFC0;

QSqlRecord record(std::initializer_list<std::pair<const char *, QVariant>> fields)
{
    QSqlRecord rec;
    for (const auto &[name, value] : fields) {
        QSqlField f(QString::fromLatin1(name), value.metaType());
        f.setValue(value);
        rec.append(f);
    }
    return rec;
}

// Cell k as "text@colour" (colour in hex RGB, "-" for none).
QStringList cells(const ZensoPanel &p)
{
    QStringList out;
    for (const ZensoCell &c : p.cells)
        out << c.text + u'@' + (c.color ? QString::number(*c.color & 0xFFFFFF, 16) : QStringLiteral("-"));
    while (!out.isEmpty() && out.last() == QStringLiteral("@-"))
        out.removeLast();
    return out;
}

QString cell(const QString &text, QRgb color) { return text + u'@' + QString::number(color, 16); }

} // namespace

class TestZenso : public QObject {
    Q_OBJECT
private slots:
    void descriptions_data();
    void descriptions();
    void units_data();
    void units();
    void slotFromDatabase();
};

void TestZenso::descriptions_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("comment");
    QTest::newRow("three meetings ago") << 1 << "ＧⅠ 戸田ＧⅠ 準優出";
    QTest::newRow("two meetings ago") << 2 << "一般 江戸川一般 ";
    QTest::newRow("previous meeting") << 3 << "ＳＧ 平和島 優勝";
    QTest::newRow("last meeting here") << 4 << "ＧⅢ 23年11月 ";
    QTest::newRow("motor before last, no best time") << 5 << "鈴木　一郎 A1級 52㎏  ";
    QTest::newRow("motor's last user") << 6 << "佐藤　次郎 B1級 50㎏  節間最高時計 1.49.6";
    QTest::newRow("boat before last") << 7 << "高橋　三郎 09月05日";
    QTest::newRow("boat's last user") << 8 << "田中　四郎 10月12日";
    QTest::newRow("no such panel") << 9 << "";
    QTest::newRow("panel 0") << 0 << "";
}

void TestZenso::descriptions()
{
    QFETCH(int, flag);
    QFETCH(QString, comment);
    const QSqlRecord r = record({
        {"gradecode_z3", 4}, {"racesdisp_z3", " 戸田 ＧⅠ "}, {"ketujyo_z3", "準優　出"},
        {"gradecode_z2", 1}, {"racesdisp_z2", "江戸川　一般"}, {"ketujyo_z2", "  "},
        {"gradecode_z1", 5}, {"racesdisp_z1", "平和島"}, {"ketujyo_z1", "優勝"},
        {"gradecode_zt", 2}, {"s_date_zt", "2311"},
        {"tourokuno_m2", 4001}, {"sensyname_m2", "鈴木　一郎"}, {"classcode_m2", "A1"}, {"weight_m2", 52},
        {"firsttime_m2", 0},
        {"tourokuno_m1", 4002}, {"sensyname_m1", "佐藤　次郎"}, {"classcode_m1", "B1"}, {"weight_m1", 50},
        {"firsttime_m1", 1496},
        {"tourokuno_b2", 4003}, {"sensyname_b2", "高橋　三郎"}, {"s_date_b2", "0905"},
        {"tourokuno_b1", 4004}, {"sensyname_b1", "田中　四郎"}, {"s_date_b1", "1012"},
    });
    QCOMPARE(zensoPanel(r, flag).comment, comment);
}

void TestZenso::units_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("history");
    QTest::addColumn<QString>("sdate");       // s_date_zt
    QTest::addColumn<int>("user");            // tourokuno of the motor or boat user
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("trimmed, short last unit") << 1 << "1012024F " << "" << 0 << "" // comment not checked
        << QStringList{cell("１着", kWhite), cell("２着", kPink), cell("Ｆ", kGrey)};
    QTest::newRow("blank and zero kinds keep their cells") << 2 << "101 02003303505" << "" << 0 << ""
        << QStringList{cell("１着", kWhite), "@-", "@-", cell("３着", kBlue), cell("５着", kGreen)};
    QTest::newRow("13 characters: the last is ignored") << 3 << "1011021031041" << "" << 0 << ""
        << QStringList{cell("１着", kWhite), cell("２着", kWhite), cell("３着", kWhite), cell("４着", kWhite)};
    QTest::newRow("accidents and letter codes") << 3 << "1571121K15S2114" << "" << 0 << ""
        << QStringList{cell("転覆 責", kWhite), cell("Ｆ", kWhite), cell("欠場 責", kWhite), cell("反則", kGreen),
                       cell("欠場 外", kWhite)};
    QTest::newRow("unknown code keeps its colour") << 3 << "199201" << "" << 0 << ""
        << QStringList{cell("", kWhite), cell("１着", kPink)};
    QTest::newRow("kind without colour draws uncoloured") << 3 << "701801" << "" << 0 << ""
        << QStringList{"１着@-", "１着@-"};
    QTest::newRow("first run here: message and no cells") << 4 << "   " << " " << 0
        << "初出走のため 前回当地成績は有りません" << QStringList{};
    QTest::newRow("new motor: message, units still drawn") << 5 << "101" << "" << 0
        << "新機のため 前々回成績は有りません" << QStringList{cell("１着", kWhite)};
    QTest::newRow("new motor, last user") << 6 << "" << "" << 0 << "新機のため 前回成績は有りません" << QStringList{};
    QTest::newRow("new boat, before last") << 7 << "" << "" << 0 << "新艇のため 前々回成績は有りません" << QStringList{};
    QTest::newRow("new boat, last user") << 8 << "" << "" << 0 << "新艇のため 前回成績は有りません" << QStringList{};
    QString sixteen;
    for (int i = 1; i <= 16; ++i)
        sixteen += QStringLiteral("10") + QString::number(i % 6 + 1);
    QStringList fourteen;
    for (int i = 1; i <= 14; ++i)
        fourteen << cell(QString(QChar(0xFF10 + i % 6 + 1)) + QStringLiteral("着"), kWhite);
    QTest::newRow("more than fourteen units") << 3 << sixteen << "" << 0 << "" << fourteen;
}

void TestZenso::units()
{
    QFETCH(int, flag);
    QFETCH(QString, history);
    QFETCH(QString, sdate);
    QFETCH(int, user);
    QFETCH(QString, comment);
    QFETCH(QStringList, expected);
    static const char *const histories[] = {"seiseki_z3", "seiseki_z2", "seiseki_z1", "seiseki_zt",
                                            "seiseki_m2", "seiseki_m1", "seiseki_b2", "seiseki_b1"};
    static const char *const users[] = {"", "", "", "", "tourokuno_m2", "tourokuno_m1", "tourokuno_b2",
                                        "tourokuno_b1"};
    const QSqlRecord r = record({{histories[flag - 1], history}, {"s_date_zt", sdate}, {users[flag - 1], user}});
    const ZensoPanel p = zensoPanel(r, flag);
    QCOMPARE(cells(p), expected);
    if (!comment.isEmpty())
        QCOMPARE(p.comment, comment);
}

// The slot is found by meeting, day, race and frame; another frame has no row.
void TestZenso::slotFromDatabase()
{
    test::ProgramFolder folder;
    test::insertRow("f_wakus", {{"setuscode", 24010112}, {"datescnt", 3}, {"racesno", 7}, {"wakusno", 2},
                                {"seiseki_z1", "102"}, {"gradecode_z1", 3}, {"racesdisp_z1", "桐生"}});
    const ZensoKey slot{QStringLiteral("24010112"), QStringLiteral("3"), QStringLiteral("7"), QStringLiteral("2")};
    const auto p = disp_zenso(slot, 3);
    QVERIFY(p);
    QCOMPARE(p->comment, QStringLiteral("ＧⅡ 桐生 "));
    QCOMPARE(p->cells[0].text, QStringLiteral("２着"));
    ZensoKey other = slot;
    other.wakusno = QStringLiteral("7");
    QVERIFY(!disp_zenso(other, 3));
    other.wakusno = QStringLiteral("99999999999");
    QVERIFY(!disp_zenso(other, 3));
}

QTEST_GUILESS_MAIN(TestZenso)
#include "tst_zenso.moc"
