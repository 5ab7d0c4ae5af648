// The previous-runs window opened directly on a panel, on a slot without a
// race-card row and on a panel number it does not know.

#include "app/ui/viewerfactory.h"
#include "platform/messages.h"
#include "racedetails/ui/frmzensodisp.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QLabel>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

class TestPreviousRunsWindow : public test::DatabaseTest {
    Q_OBJECT

    std::unique_ptr<frmzensodisp> open(const QString &frame, const QString &flag)
    {
        test::insertRow("f_wakus", {{"setuscode", 24010112}, {"datescnt", 2}, {"racesno", 4}, {"wakusno", 3},
                                    {"seiseki_z1", "303"}, {"gradecode_z1", 1}, {"racesdisp_z1", "桐生　一般"},
                                    {"seiseki_m1", "106"}, {"tourokuno_m1", 4001}, {"sensyname_m1", "鈴木"},
                                    {"classcode_m1", "A1"}, {"weight_m1", 52}, {"firsttime_m1", 1496}});
        std::unique_ptr<frmzensodisp> w(static_cast<frmzensodisp *>(createViewer(ViewerKind::PreviousRuns)));
        ViewerContext c;
        c.setuscode = QStringLiteral("24010112");
        c.datescnt = QStringLiteral("2");
        c.racesno = QStringLiteral("4");
        c.wakusno = frame;
        c.flag = flag;
        w->setContext(c);
        w->activateFirstTime();
        return w;
    }

private slots:
    void panels_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("color");       // RGB of the race kind
        QTest::addColumn<QString>("comment");
        QTest::newRow("3") << "3" << "３着" << 0xC0C0FF << "一般 桐生一般 ";
        QTest::newRow("6") << "6" << "６着" << 0xFFFFFF << "鈴木 A1級 52㎏  節間最高時計 1.49.6";
    }
    void panels()
    {
        QFETCH(QString, flag);
        QFETCH(QString, result);
        QFETCH(int, color);
        QFETCH(QString, comment);
        auto w = open(QStringLiteral("3"), flag);
        QCOMPARE(w->lblcomment->text(), comment);
        QCOMPARE(w->lblcyakucode[0]->text(), result);
        QVERIFY(w->lblcyakucode[0]->autoFillBackground());
        QCOMPARE(w->lblcyakucode[0]->palette().color(QPalette::Window).rgb() & 0xFFFFFF, QRgb(color));
        QCOMPARE(w->lblcyakucode[1]->text(), QString());
        QVERIFY(!w->lblcyakucode[1]->autoFillBackground());
    }

    // No row for the slot, or a panel number outside 1..8: a blank window.
    void blank_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("flag");
        QTest::newRow("frame without row") << "7" << "3";
        QTest::newRow("panel 9") << "3" << "9";
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
};

QTEST_MAIN(TestPreviousRunsWindow)
#include "tst_frmzensodisp.moc"
