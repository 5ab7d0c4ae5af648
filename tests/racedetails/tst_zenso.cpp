// The previous runs of a boat slot: the description of a panel, the
// no-record messages, the result cells cut from a run history with their
// race-kind colours, and the window that shows one panel.

#include "app/ui/viewerfactory.h"
#include "platform/messages.h"
#include "racedetails/helpers/records.h"
#include "racedetails/ui/frmzensodisp.h"
#include "support/fixtures.h"
#include "racedetails/zenso.h"
#include "support/testenv.h"

#include <QLabel>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

// The race-kind colours as the paper writes them (&HBBGGRR), in RGB.
constexpr QRgb kWhite = 0xFFFFFF, kPink = 0xFFC0C0, kBlue = 0xC0C0FF, kGrey = 0xE0E0E0, kGreen = 0xC0FFC0;

// The cells as "text@colour" ("-" for none), without trailing empty ones.
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

class TestZenso : public test::DatabaseTest {
    Q_OBJECT
private slots:
    void descriptions_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("comment");
        QTest::newRow("meeting before last") << 2 << "一般 江戸川一般 ";
        QTest::newRow("last meeting here") << 4 << "ＧⅢ 23年11月 ";
        QTest::newRow("motor's last user") << 6 << "佐藤　次郎 B1級 50㎏  節間最高時計 1.49.6";
        QTest::newRow("boat before last") << 7 << "高橋　三郎 09月05日";
        QTest::newRow("no such panel") << 9 << "";
    }
    void descriptions()
    {
        QFETCH(int, flag);
        QFETCH(QString, comment);
        const QSqlRecord r = test::record({
            {"gradecode_z2", 1}, {"racesdisp_z2", "江戸川　一般"}, {"ketujyo_z2", "  "},
            {"gradecode_zt", 2}, {"s_date_zt", "2311"}, {"tourokuno_m1", 4002}, {"sensyname_m1", "佐藤　次郎"},
            {"classcode_m1", "B1"}, {"weight_m1", 50}, {"firsttime_m1", 1496},
            {"tourokuno_b2", 4003}, {"sensyname_b2", "高橋　三郎"}, {"s_date_b2", "0905"},
        });
        QCOMPARE(zensoPanel(r, flag).comment, comment);
    }

    void units_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("comment");   // not checked when empty
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("trimmed, short last unit") << 1 << "1012024F " << ""
            << QStringList{cell("１着", kWhite), cell("２着", kPink), cell("Ｆ", kGrey)};
        QTest::newRow("blank and zero kinds keep their cells") << 2 << "101 02003303505" << ""
            << QStringList{cell("１着", kWhite), "@-", "@-", cell("３着", kBlue), cell("５着", kGreen)};
        QTest::newRow("accidents and letter codes") << 3 << "1571121K15S2114" << ""
            << QStringList{cell("転覆 責", kWhite), cell("Ｆ", kWhite), cell("欠場 責", kWhite), cell("反則", kGreen),
                           cell("欠場 外", kWhite)};
        QTest::newRow("unknown kind draws uncoloured") << 3 << "701801" << "" << QStringList{"１着@-", "１着@-"};
        QTest::newRow("first run here") << 4 << "   " << "初出走のため 前回当地成績は有りません" << QStringList{};
        QTest::newRow("new motor, units still drawn") << 5 << "101" << "新機のため 前々回成績は有りません"
            << QStringList{cell("１着", kWhite)};
        QTest::newRow("new boat") << 8 << "" << "新艇のため 前回成績は有りません" << QStringList{};
        QString sixteen;
        QStringList fourteen;
        for (int i = 1; i <= 16; ++i) {
            sixteen += QStringLiteral("10") + QString::number(i % 6 + 1);
            if (i <= 14)
                fourteen << cell(QString(QChar(0xFF10 + i % 6 + 1)) + QStringLiteral("着"), kWhite);
        }
        QTest::newRow("more than fourteen units") << 3 << sixteen << "" << fourteen;
    }
    void units()
    {
        QFETCH(int, flag);
        QFETCH(QString, history);
        QFETCH(QString, comment);
        QFETCH(QStringList, expected);
        static const char *const histories[] = {"seiseki_z3", "seiseki_z2", "seiseki_z1", "seiseki_zt",
                                                "seiseki_m2", "seiseki_m1", "seiseki_b2", "seiseki_b1"};
        const ZensoPanel p = zensoPanel(test::record({{histories[flag - 1], history}, {"s_date_zt", " "}}), flag);
        QCOMPARE(cells(p), expected);
        if (!comment.isEmpty())
            QCOMPARE(p.comment, comment);
    }

    // The window opened on a panel of a slot; no row for the slot, or a panel
    // number outside 1..8, gives a blank window and no message.
    void window_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("color");   // RGB of the race kind, 0 none
        QTest::addColumn<QString>("comment");
        QTest::newRow("3") << "3" << "3" << "３着" << 0xC0C0FF << "一般 桐生一般 ";
        QTest::newRow("6") << "3" << "6" << "６着" << 0xFFFFFF << "鈴木 A1級 52㎏  節間最高時計 1.49.6";
        QTest::newRow("frame without row") << "7" << "3" << "" << 0 << "";
        QTest::newRow("frame beyond 32 bits") << "99999999999" << "3" << "" << 0 << "";
        QTest::newRow("panel beyond 16 bits") << "3" << "99999999" << "" << 0 << "";
    }
    void window()
    {
        QFETCH(QString, frame);
        QFETCH(QString, flag);
        QFETCH(QString, result);
        QFETCH(int, color);
        QFETCH(QString, comment);
        test::insertRow("f_wakus", {{"setuscode", 24010112}, {"datescnt", 2}, {"racesno", 4}, {"wakusno", 3},
                                    {"seiseki_z1", "303"}, {"gradecode_z1", 1}, {"racesdisp_z1", "桐生　一般"},
                                    {"seiseki_m1", "106"}, {"tourokuno_m1", 4001}, {"sensyname_m1", "鈴木"},
                                    {"classcode_m1", "A1"}, {"weight_m1", 52}, {"firsttime_m1", 1496}});
        ScriptedMessages box;
        std::unique_ptr<frmzensodisp> w(static_cast<frmzensodisp *>(createViewer(ViewerKind::PreviousRuns)));
        ViewerContext c;
        c.setuscode = QStringLiteral("24010112");
        c.datescnt = QStringLiteral("2");
        c.racesno = QStringLiteral("4");
        c.wakusno = frame;
        c.flag = flag;
        w->setContext(c);
        w->activateFirstTime();
        QCOMPARE(w->lblcomment->text(), comment);
        QCOMPARE(w->lblcyakucode[0]->text(), result);
        QCOMPARE(w->lblcyakucode[0]->autoFillBackground(), color != 0);
        if (color)
            QCOMPARE(w->lblcyakucode[0]->palette().color(QPalette::Window).rgb() & 0xFFFFFF, QRgb(color));
        QCOMPARE(w->lblcyakucode[1]->text(), QString());
        QVERIFY(!w->lblcyakucode[1]->autoFillBackground());
        QVERIFY(box.texts().isEmpty());
    }
};

QTEST_MAIN(TestZenso)
#include "tst_zenso.moc"
