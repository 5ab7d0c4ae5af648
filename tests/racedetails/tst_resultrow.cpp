// One f_restb row rendered as the result grids show it: result words, the
// "-" rules of absent and flying boats, number forms and penalty words.

#include "racedetails/helpers/records.h"
#include "racedetails/resultrow.h"

#include <QtTest>

using namespace kelmon::racedetails;

namespace {

RestbRow row(int code, int sinyuno, double start, double tilt, double tenji, double time = 0)
{
    RestbRow r;
    r.cyakucode = code;
    r.sinyuno = sinyuno;
    r.starttime = start;
    r.chilt = tilt;
    r.tenjitime = tenji;
    r.racestime = time;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(RestbRow)

class TestResultRow : public QObject {
    Q_OBJECT
private slots:
    void cells_data()
    {
        QTest::addColumn<RestbRow>("r");
        // result, time, course, start, tilt, exhibition, hidden result, hidden time, signed tilt
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("third") << row(3, 2, 7, 0, 6.78, 1496)
            << QStringList{"３着", "1.49.6", "2", "07", " 0.0", "6.78", "3", "1496", "+0"};
        QTest::newRow("sixth, wide negative tilt") << row(6, 6, 15, -10.5, 6.8, 958)
            << QStringList{"６着", "0.95.8", "6", "15", "-10.5", "6.80", "6", "958", "-10.5"};
        QTest::newRow("absent") << row(14, 0, 0, 0.5, 0)
            << QStringList{"欠場 外", "", "-", "-", "-", "-", "14", "", "+0.5"};
        QTest::newRow("absent, responsible") << row(64, 3, 12, 1.5, 6.7)
            << QStringList{"欠場 責", "", "-", "-", "-", "-", "64", "", "+1.5"};
        QTest::newRow("flying keeps course") << row(62, 2, 3, 0, 6.71)
            << QStringList{"Ｆ", "", "2", "-", " 0.0", "6.71", "62", "", "+0"};
        QTest::newRow("late") << row(13, 4, 40, 0, 6.71)
            << QStringList{"Ｌ 外", "", "4", "-", " 0.0", "6.71", "13", "", "+0"};
        QTest::newRow("late, responsible") << row(63, 4, 40, 0, 6.71)
            << QStringList{"Ｌ 責", "", "4", "-", " 0.0", "6.71", "63", "", "+0"};
        QTest::newRow("no exhibition") << row(1, 1, 10, 0, 0, 1496)
            << QStringList{"１着", "1.49.6", "-", "-", "-", "-", "1", "1496", "+0"};
        QTest::newRow("capsized") << row(7, 3, 11, 0, 6.7)
            << QStringList{"転覆 外", "", "3", "11", " 0.0", "6.70", "7", "", "+0"};
        QTest::newRow("foul") << row(66, 3, 11, 0, 6.7)
            << QStringList{"反則", "", "3", "11", " 0.0", "6.70", "66", "", "+0"};
        QTest::newRow("code without words") << row(40, 3, 11, 0, 6.7)
            << QStringList{"", "", "3", "11", " 0.0", "6.70", "40", "", "+0"};
    }
    void cells()
    {
        QFETCH(RestbRow, r);
        QFETCH(QStringList, expected);
        const QStringList got{resultText(r), raceTimeText(r), courseText(r), startText(r), tiltText(r),
                              exhibitionText(r), rawResult(r), rawRaceTime(r), signedTilt(r)};
        QCOMPARE(got, expected);
    }

    void penalty_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("expected");
        QTest::newRow("waiting") << 2 << 5.0 << QString::fromUtf16(u"待機違反  -5");
        QTest::newRow("responsibility") << 1 << 20.0 << QString::fromUtf16(u"選責\u3000\u3000 -20");
        QTest::newRow("two stalls, wide") << 5 << 100.0 << QString::fromUtf16(u"失速２回 -100");
        QTest::newRow("no reason") << 0 << 10.0 << QString();
        QTest::newRow("beyond the table") << 6 << 10.0 << QString();
    }
    void penalty()
    {
        QFETCH(int, flag);
        QFETCH(double, points);
        QFETCH(QString, expected);
        RestbRow r;
        r.gentenflag = flag;
        r.genten = points;
        QCOMPARE(penaltyText(r), expected);
    }

    // Values come by column name; a number that does not fit a code is no code.
    void readsRecord()
    {
        const RestbRow r = RestbRow::fromRecord(kelmon::test::record(
            {{"tourokuno", 4321}, {"wakusno", 5}, {"cyakucode", 70000}, {"yososno", 1}, {"chilt", -0.5}}));
        QCOMPARE(r.wakusno, 5);
        QCOMPARE(resultText(r), QString());
        QCOMPARE(markText(r), QString::fromUtf16(u"◎"));
        QCOMPARE(rawTourokuno(r), QStringLiteral("4321"));
        QCOMPARE(signedTilt(r), QStringLiteral("-0.5"));
    }
};

QTEST_APPLESS_MAIN(TestResultRow)
#include "tst_resultrow.moc"
