// The race result: one f_restb row as the grids show it (result words, the
// "-" rules of absent and flying boats, number forms, penalty words), the
// header texts with void bet types, the grid in finishing order with its
// frame tints and a refill that leaves nothing behind, the start diagram.

#include "common/paper_schema.h"
#include "racedetails/helpers/records.h"
#include "racedetails/resultrow.h"
#include "racedetails/restresult.h"
#include "racedetails/startdiagram.h"
#include "samplepaper/samplepaper.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;
using kelmon::test::insertRow;

namespace {

constexpr int kSetus = 24010112;
const RaceKey kRace{QString::number(kSetus), QStringLiteral("2"), QStringLiteral("5")};

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

RestbRow boat(int frame, int code, int course, double st, int mark = 0, const char *name = "選手")
{
    RestbRow r = row(code, course, st, 0, 6.7);
    r.wakusno = frame;
    r.yososno = mark;
    r.sensyname = QString::fromUtf8(name);
    return r;
}

} // namespace

Q_DECLARE_METATYPE(RestbRow)

class TestRestResult : public test::DatabaseTest {
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
        QTest::newRow("late, responsible") << row(63, 4, 40, 0, 6.71)
            << QStringList{"Ｌ 責", "", "4", "-", " 0.0", "6.71", "63", "", "+0"};
        QTest::newRow("no exhibition") << row(1, 1, 10, 0, 0, 1496)
            << QStringList{"１着", "1.49.6", "-", "-", "-", "-", "1", "1496", "+0"};
        QTest::newRow("capsized") << row(7, 3, 11, 0, 6.7)
            << QStringList{"転覆 外", "", "3", "11", " 0.0", "6.70", "7", "", "+0"};
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

    void penalty()
    {
        const auto text = [](int flag, double points) {
            RestbRow r;
            r.gentenflag = flag;
            r.genten = points;
            return penaltyText(r);
        };
        QCOMPARE(text(2, 5), QString::fromUtf16(u"待機違反  -5"));
        QCOMPARE(text(5, 100), QString::fromUtf16(u"失速２回 -100"));
        QCOMPARE(text(6, 10), QString());
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

    void header_data()
    {
        QTest::addColumn<int>("flag2");
        QTest::addColumn<int>("flag3");
        QTest::addColumn<QStringList>("expected");   // boats, payouts, popularity
        const QString yen = QString(QChar(0xA5));
        QTest::newRow("both paid, wide payout")
            << 0 << 0 << QStringList{"3", "1", "5", yen + "   1,230", "人気   4番", yen + " 1,234,560", "人気  12番"};
        QTest::newRow("trifecta void") << 0 << 1 << QStringList{"3", "1", "", yen + "   1,230", "人気   4番", "", ""};
        QTest::newRow("exacta void")
            << 1 << 0 << QStringList{"3", "1", "5", "", "", yen + " 1,234,560", "人気  12番"};
    }
    void header()
    {
        QFETCH(int, flag2);
        QFETCH(int, flag3);
        QFETCH(QStringList, expected);
        QVERIFY(!load_raceresult(kRace));
        QCOMPARE(get_racedate(kRace.setuscode, kRace.datescnt), QStringLiteral("00000000"));
        insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 5}, {"Date", "20240102"},
                              {"racesname", "一般戦"}, {"renban_2ta", "31"}, {"renban_3ta", "315"},
                              {"haikin_2ta", 1230}, {"ninkido_2ta", 4}, {"haikin_3ta", 1234560},
                              {"ninkido_3ta", 12}, {"kazesoku", 3}, {"nami", 5}, {"seiriflag_2t", flag2},
                              {"seiriflag_3t", flag3}});
        QCOMPARE(get_racedate(kRace.setuscode, kRace.datescnt), QStringLiteral("20240102"));
        const auto h = load_raceresult(kRace);
        QVERIFY(h);
        const QStringList got{h->renban[0], h->renban[1], h->renban[2], h->haikin_2ta, h->ninkido_2ta,
                              h->haikin_3ta, h->ninkido_3ta};
        QCOMPARE(got, expected);
        QCOMPARE(h->racesname + h->kazesoku + h->nami, QStringLiteral("一般戦3ｍ5㎝"));
    }

    // Places first, then the other codes by number, ties by frame; columns
    // 0..9 carry the frame's tint, the hidden ones none.
    void gridOrderAndTints()
    {
        // Inserted from frame 6 down, so only the order clause puts frame 1 before frame 6.
        const int rows[][4] = {{6, 14, 6, 15}, {5, 3, 5, 13}, {4, 12, 4, 2}, {3, 1, 3, 11}, {2, 2, 2, 10},
                               {1, 14, 0, 0}};
        for (const auto &r : rows)
            insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 5}, {"wakusno", r[0]},
                                  {"cyakucode", r[1]}, {"sinyuno", r[2]}, {"starttime", r[3]},
                                  {"tourokuno", 4000 + r[0]}, {"tenjitime", r[1] == 14 ? 0.0 : 6.7}});
        insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 6}, {"wakusno", 1}});
        GridModel grid;
        set_mfgf_restb(grid);
        fill_restb(grid, load_restb(kRace));
        QCOMPARE(grid.rows(), 7);
        const QStringList frames{"3", "2", "5", "4", "1", "6"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(grid.text(i + 1, ColTourokuno), QString::number(4000 + frames[i].toInt()));
        // Frame 5 (row 3) is pale yellow, frame 4 (row 4) pale blue, up to the penalty column only.
        QCOMPARE(grid.backColor(3, ColResult).value_or(0) & 0xFFFFFF, 0xFFFFC0u);
        QCOMPARE(grid.backColor(4, ColPenalty).value_or(0) & 0xFFFFFF, 0xC0C0FFu);
        QVERIFY(!grid.backColor(4, ColRawMark));

        // A second fill with one boat of a frame outside 1..6 keeps no row or tint of the first.
        fill_restb(grid, {boat(9, 1, 1, 10, 1, "枠外")});
        QCOMPARE(grid.rows(), 2);
        QCOMPARE(grid.text(1, ColName), QStringLiteral("枠外"));
        QVERIFY(!grid.backColor(1, ColResult));
    }

    // Twips: the bow 27 per hundredth of a second behind the line at 4980,
    // a flying boat past it, a late one far behind; the wake 600 behind.
    void diagram_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<double>("st");
        QTest::addColumn<double>("boatLeft");
        QTest::addColumn<QString>("timing");
        QTest::newRow("timing 15") << 1 << 15.0 << 4575.0 << "15";
        QTest::newRow("timing 7") << 2 << 7.0 << 4791.0 << "07";
        QTest::newRow("flying, responsible") << 62 << 3.0 << 5160.0 << "Ｆ";
        QTest::newRow("late") << 13 << 40.0 << 1920.0 << "Ｌ";
    }
    void diagram()
    {
        QFETCH(int, code);
        QFETCH(double, st);
        QFETCH(double, boatLeft);
        QFETCH(QString, timing);
        const StartDiagram d = disp_sinyu({boat(4, code, 3, st, 2, " 山田　太郎 ")});
        QVERIFY(d[2]);
        QCOMPARE(d[2]->boatLeft, boatLeft);
        QCOMPARE(d[2]->waveLeft, boatLeft - 600);
        QCOMPARE(d[2]->text, QStringLiteral("○ 山田　太郎 ") + timing);
        QCOMPARE(d[2]->boatTop, 3540 + 480);
        QCOMPARE(d[2]->waveTop, 3580 + 480);
        QCOMPARE(d[2]->boatPicture, 11);   // boats of frames 1..6 are pictures 8..13
    }

    // Boats go to the row of their course; an absent boat, a course beyond 6
    // and a frame outside 1..6 draw nothing; no mark gives a leading blank.
    void diagramRows()
    {
        const StartDiagram d = disp_sinyu({boat(1, 1, 2, 10, 0, "甲"), boat(2, 2, 1, 12, 1, "乙"), boat(3, 14, 0, 0),
                                           boat(4, 3, 7, 11), boat(7, 4, 4, 11), boat(5, 5, 6, 20, 3, "丙")});
        QCOMPARE(d[0]->text, QStringLiteral("◎ 乙 12"));
        QCOMPARE(d[1]->text, QStringLiteral(" 甲 10"));
        QVERIFY(!d[2] && !d[3] && !d[4]);
        QCOMPARE(d[5]->boatTop, 3540 + 5 * 240);
    }

    // Generated meetings carry accidents of both kinds of fault and late starts.
    void samplePapersCarryAccidents()
    {
        const PaperTable *table = findTable("f_restb");
        std::size_t column = 0;
        while (QLatin1String(table->columns[column].name) != QLatin1String("cyakucode"))
            ++column;
        QSet<int> codes;
        for (quint32 seed = 1; seed <= 12; ++seed) {
            SamplePaperOptions options;
            options.seed = seed;
            options.day = 6;
            options.photos = false;
            const SamplePaper paper = makeSamplePaper(options);
            for (const QStringList &record : paper.table("f_restb")->records)
                codes << record[qsizetype(column)].toInt();
        }
        QVERIFY(codes.contains(13));
        QVERIFY(std::any_of(codes.begin(), codes.end(), [](int c) { return c >= 57; }));
        QVERIFY(std::any_of(codes.begin(), codes.end(), [](int c) { return c > 6 && c < 13; }));
    }
};

QTEST_GUILESS_MAIN(TestRestResult)
#include "tst_restresult.moc"
