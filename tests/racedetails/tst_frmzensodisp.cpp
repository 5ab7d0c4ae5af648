// The previous-runs window opened directly on each of its eight panels, on a
// slot without a race-card row and on a panel number it does not know.

#include "app/ui/viewerfactory.h"
#include "platform/messages.h"
#include "racedetails/ui/frmzensodisp.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QLabel>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

constexpr int kSetus = 24010112;

} // namespace

class TestPreviousRunsWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ProgramFolder> folder;

    std::unique_ptr<frmzensodisp> open(const QString &frame, const QString &flag)
    {
        std::unique_ptr<frmzensodisp> w(static_cast<frmzensodisp *>(createViewer(ViewerKind::PreviousRuns)));
        ViewerContext c;
        c.setuscode = QString::number(kSetus);
        c.datescnt = QStringLiteral("2");
        c.racesno = QStringLiteral("4");
        c.wakusno = frame;
        c.flag = flag;
        w->setContext(c);
        w->activateFirstTime();
        return w;
    }
    static QRgb back(const QLabel *l)
    {
        return l->autoFillBackground() ? l->palette().color(QPalette::Window).rgb() & 0xFFFFFF : 0x1000000;
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertRow("f_wakus", {
            {"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 4}, {"wakusno", 3},
            {"seiseki_z3", "101"}, {"seiseki_z2", "   202"}, {"seiseki_z1", "303"}, {"seiseki_zt", "404"},
            {"seiseki_m2", "505"}, {"seiseki_m1", "106"}, {"seiseki_b2", "112"}, {"seiseki_b1", "157"},
            {"gradecode_z1", 1}, {"racesdisp_z1", "桐生　一般"}, {"s_date_zt", "2311"}, {"gradecode_zt", 3},
            {"tourokuno_m1", 4001}, {"sensyname_m1", "鈴木"}, {"classcode_m1", "A1"}, {"weight_m1", 52},
            {"firsttime_m1", 1496}, {"tourokuno_b2", 0},
        });
    }
    void cleanup()
    {
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void panels_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<int>("cell");        // the cell that holds the run
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("color");       // RGB of the race kind
        QTest::addColumn<QString>("comment");
        QTest::newRow("1") << "1" << 0 << "１着" << 0xFFFFFF << "  ";
        QTest::newRow("2") << "2" << 0 << "２着" << 0xFFC0C0 << "  ";
        QTest::newRow("3") << "3" << 0 << "３着" << 0xC0C0FF << "一般 桐生一般 ";
        QTest::newRow("4") << "4" << 0 << "４着" << 0xE0E0E0 << "ＧⅡ 23年11月 ";
        QTest::newRow("5") << "5" << 0 << "５着" << 0xC0FFC0 << "新機のため 前々回成績は有りません";
        QTest::newRow("6") << "6" << 0 << "６着" << 0xFFFFFF << "鈴木 A1級 52㎏  節間最高時計 1.49.6";
        QTest::newRow("7") << "7" << 0 << "Ｆ" << 0xFFFFFF << "新艇のため 前々回成績は有りません";
        QTest::newRow("8") << "8" << 0 << "転覆 責" << 0xFFFFFF << "新艇のため 前回成績は有りません";
    }
    void panels()
    {
        QFETCH(QString, flag);
        QFETCH(int, cell);
        QFETCH(QString, result);
        QFETCH(int, color);
        QFETCH(QString, comment);
        auto w = open(QStringLiteral("3"), flag);
        QCOMPARE(w->lblcomment->text(), comment);
        QCOMPARE(w->lblcyakucode[std::size_t(cell)]->text(), result);
        QCOMPARE(back(w->lblcyakucode[std::size_t(cell)]), QRgb(color));
        QCOMPARE(w->lblcyakucode[1]->text(), QString());
        QCOMPARE(back(w->lblcyakucode[1]), 0x1000000u);
    }

    // No row for the slot, or a panel number outside 1..8: a blank window.
    void blank_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("flag");
        QTest::newRow("frame without row") << "7" << "3";
        QTest::newRow("panel 0") << "3" << "0";
        QTest::newRow("panel 9") << "3" << "9";
        QTest::newRow("panel not a number") << "3" << "x";
        QTest::newRow("panel beyond 16 bits") << "3" << "99999999";
    }
    void blank()
    {
        QFETCH(QString, frame);
        QFETCH(QString, flag);
        ScriptedMessages box;
        auto w = open(frame, flag);
        QCOMPARE(w->lblcomment->text(), QString());
        for (const QLabel *cell : w->lblcyakucode)
            QCOMPARE(cell->text(), QString());
        QVERIFY(box.texts().isEmpty());
    }

    void legend()
    {
        auto w = open(QStringLiteral("3"), QStringLiteral("1"));
        const QStringList texts{"予選一般", "ドリーム", "準 優 戦", "選 抜 戦", "優 勝 戦"};
        const QRgb colors[5] = {0xFFFFFF, 0xFFC0C0, 0xC0C0FF, 0xE0E0E0, 0xC0FFC0};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(w->legend[std::size_t(i)]->text(), texts[i]);
            QCOMPARE(back(w->legend[std::size_t(i)]), colors[i]);
        }
    }
};

QTEST_MAIN(TestPreviousRunsWindow)
#include "tst_frmzensodisp.moc"
