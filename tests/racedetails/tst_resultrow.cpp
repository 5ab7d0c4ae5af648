// One f_restb row rendered as the result grids show it: result words, the
// "-" rules of absent and flying boats, number forms, penalty words and the
// raw sort keys.

#include "racedetails/resultrow.h"

#include <QSqlField>
#include <QtTest>

using namespace kelmon::racedetails;

class TestResultRow : public QObject {
    Q_OBJECT
private slots:
    void cells_data();
    void cells();
    void penalty_data();
    void penalty();
    void readsRecord();
};

namespace {

RestbRow row(int code, int sinyuno, double start, double tilt, double tenji, double time = 1496)
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

void TestResultRow::cells_data()
{
    QTest::addColumn<RestbRow>("r");
    // result, time, course, start, tilt, exhibition, hidden result, hidden time, signed tilt
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("third place") << row(3, 2, 7, 0, 6.78)
        << QStringList{"３着", "1.49.6", "2", "07", " 0.0", "6.78", "3", "1496", "+0"};
    QTest::newRow("sixth, negative tilt") << row(6, 6, 15, -0.5, 6.8, 1523)
        << QStringList{"６着", "1.52.3", "6", "15", "-0.5", "6.80", "6", "1523", "-0.5"};
    QTest::newRow("absent boat") << row(14, 0, 0, 0.5, 0, 0)
        << QStringList{"欠場 外", "", "-", "-", "-", "-", "14", "", "+0.5"};
    QTest::newRow("absent with responsibility") << row(64, 3, 12, 1.5, 6.7, 0)
        << QStringList{"欠場 責", "", "-", "-", "-", "-", "64", "", "+1.5"};
    QTest::newRow("flying start keeps course, tilt, exhibition") << row(12, 1, 3, 0, 6.71, 0)
        << QStringList{"Ｆ", "", "1", "-", " 0.0", "6.71", "12", "", "+0"};
    QTest::newRow("flying with responsibility") << row(62, 2, 3, 0, 6.71, 0)
        << QStringList{"Ｆ", "", "2", "-", " 0.0", "6.71", "62", "", "+0"};
    QTest::newRow("late start") << row(13, 4, 40, 0, 6.71, 0)
        << QStringList{"Ｌ 外", "", "4", "-", " 0.0", "6.71", "13", "", "+0"};
    QTest::newRow("late with responsibility") << row(63, 4, 40, 0, 6.71, 0)
        << QStringList{"Ｌ 責", "", "4", "-", " 0.0", "6.71", "63", "", "+0"};
    QTest::newRow("no exhibition, whatever the result") << row(1, 1, 10, 0, 0)
        << QStringList{"１着", "1.49.6", "-", "-", "-", "-", "1", "1496", "+0"};
    QTest::newRow("capsized") << row(7, 3, 11, 0, 6.7, 0)
        << QStringList{"転覆 外", "", "3", "11", " 0.0", "6.70", "7", "", "+0"};
    QTest::newRow("foul") << row(66, 3, 11, 0, 6.7, 0)
        << QStringList{"反則", "", "3", "11", " 0.0", "6.70", "66", "", "+0"};
    QTest::newRow("code without words") << row(40, 3, 11, 0, 6.7, 0)
        << QStringList{"", "", "3", "11", " 0.0", "6.70", "40", "", "+0"};
    QTest::newRow("wide tilt is not cut") << row(2, 5, 9, -10.5, 6.7, 958)
        << QStringList{"２着", "0.95.8", "5", "09", "-10.5", "6.70", "2", "958", "-10.5"};
}

void TestResultRow::cells()
{
    QFETCH(RestbRow, r);
    QFETCH(QStringList, expected);
    const QStringList got{resultText(r), raceTimeText(r), courseText(r), startText(r), tiltText(r),
                          exhibitionText(r), rawResult(r), rawRaceTime(r), signedTilt(r)};
    QCOMPARE(got, expected);
}

void TestResultRow::penalty_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("expected");
    QTest::newRow("waiting, 5 points") << 2 << 5.0 << QString::fromUtf16(u"待機違反  -5");
    QTest::newRow("responsibility, 20") << 1 << 20.0 << QString::fromUtf16(u"選責\u3000\u3000 -20");
    QTest::newRow("bad steering") << 3 << 7.0 << QString::fromUtf16(u"不良航法  -7");
    QTest::newRow("foul") << 4 << 10.0 << QString::fromUtf16(u"反則\u3000\u3000 -10");
    QTest::newRow("two stalls, wide") << 5 << 100.0 << QString::fromUtf16(u"失速２回 -100");
    QTest::newRow("no reason, points ignored") << 0 << 10.0 << QString();
    QTest::newRow("reason beyond the table") << 6 << 10.0 << QString();
}

void TestResultRow::penalty()
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
void TestResultRow::readsRecord()
{
    QSqlRecord rec;
    auto add = [&rec](const char *name, const QVariant &v) {
        QSqlField f(QString::fromLatin1(name), v.metaType());
        f.setValue(v);
        rec.append(f);
    };
    add("tourokuno", 4321);
    add("wakusno", 5);
    add("cyakucode", 70000);
    add("yososno", 1);
    add("sensyname", QString::fromUtf16(u"山田　太郎 "));
    add("chilt", -0.5);
    const RestbRow r = RestbRow::fromRecord(rec);
    QCOMPARE(r.wakusno, 5);
    QCOMPARE(r.cyakucode, 0);
    QCOMPARE(resultText(r), QString());
    QCOMPARE(markText(r), QString::fromUtf16(u"◎"));
    QCOMPARE(r.sensyname, QString::fromUtf16(u"山田　太郎 "));
    QCOMPARE(rawTourokuno(r), QStringLiteral("4321"));
    QCOMPARE(signedTilt(r), QStringLiteral("-0.5"));
    QCOMPARE(r.racestime, 0.0);
}

QTEST_APPLESS_MAIN(TestResultRow)
#include "tst_resultrow.moc"
