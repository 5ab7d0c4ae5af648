// Results of the paper: one race result row as the grids show it (result
// words, the "-" rules of absent and flying boats, number forms, penalty
// words), the header with void bet types, the grid in finishing order with
// its frame tints, the start diagram, the outcomes of earlier days and the
// previous runs of a boat slot.

#include "platform/gridpopup.h"
#include "racedetails/demegrid.h"
#include "racedetails/restresult.h"
#include "racedetails/resultrow.h"
#include "racedetails/startdiagram.h"
#include "racedetails/zenso.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;
using test::insertRow;

namespace {

constexpr int kSetus = 24010112;
const RaceKey kRace{QString::number(kSetus), QStringLiteral("2"), QStringLiteral("5")};

RestbRow row(int code, int course, double start, double tilt, double tenji, double time = 0, int frame = 0,
             int mark = 0, const char *name = "")
{
    RestbRow r;
    std::tie(r.cyakucode, r.sinyuno, r.starttime, r.chilt, r.tenjitime, r.racestime) =
        std::tuple(code, course, start, tilt, tenji, time);
    std::tie(r.wakusno, r.yososno, r.sensyname) = std::tuple(frame, mark, QString::fromUtf8(name));
    return r;
}

RestbRow boat(int frame, int code, int course, double st, int mark = 0, const char *name = "選手")
{
    return row(code, course, st, 0, 6.7, 0, frame, mark, name);
}

QStringList rowTexts(const GridModel &grid, int row, int from, int to)
{
    QStringList texts;
    for (int c = from; c <= to && row < grid.rows(); ++c)
        texts << grid.text(row, c);
    return texts;
}

QStringList fillDeme(GridModel &grid, int race, int day)
{
    set_mfgf_resta(grid);
    disp_f_resta(grid, QString::number(kSetus), QString::number(race), QString::number(day));
    return rowTexts(grid, 1, 0, grid.cols() - 1);
}

// The race-kind colours as the paper writes them (&HBBGGRR), in RGB.
constexpr QRgb kWhite = 0xFFFFFF, kPink = 0xFFC0C0, kBlue = 0xC0C0FF, kGrey = 0xE0E0E0, kGreen = 0xC0FFC0;

// A run cell as "text@colour" ("@-" for none).
QString cell(const QString &text, QRgb color) { return text + u'@' + QString::number(color, 16); }

} // namespace

Q_DECLARE_METATYPE(RestbRow)

class TestResults : public test::DatabaseTest {
    Q_OBJECT
private slots:
    void cells_data()
    {
        QTest::addColumn<RestbRow>("r");
        // result|time|course|start|tilt|exhibition|hidden result|hidden time|signed tilt
        QTest::addColumn<QString>("expected");
        QTest::newRow("third") << row(3, 2, 7, 0, 6.78, 1496) << "３着|1.49.6|2|07| 0.0|6.78|3|1496|+0";
        QTest::newRow("sixth, wide tilt") << row(6, 6, 15, -10.5, 6.8, 958) << "６着|0.95.8|6|15|-10.5|6.80|6|958|-10.5";
        QTest::newRow("absent") << row(14, 0, 0, 0.5, 0) << "欠場 外||-|-|-|-|14|0|+0.5";
        QTest::newRow("absent, responsible") << row(64, 3, 12, 1.5, 6.7) << "欠場 責||-|-|-|-|64|0|+1.5";
        QTest::newRow("flying keeps course") << row(62, 2, 3, 0, 6.71) << "Ｆ||2|-| 0.0|6.71|62|0|+0";
        QTest::newRow("flying, not responsible") << row(12, 5, 1, 0, 6.71) << "Ｆ||5|-| 0.0|6.71|12|0|+0";
        QTest::newRow("late, responsible") << row(63, 4, 40, 0, 6.71) << "Ｌ 責||4|-| 0.0|6.71|63|0|+0";
        QTest::newRow("no exhibition") << row(1, 1, 10, 0, 0, 1496) << "１着|1.49.6|-|-|-|-|1|1496|+0";
        QTest::newRow("capsized") << row(7, 3, 11, 0, 6.7) << "転覆 外||3|11| 0.0|6.70|7|0|+0";
        QTest::newRow("code without words") << row(40, 3, 11, 0, 6.7) << "||3|11| 0.0|6.70|40|0|+0";
    }
    void cells()
    {
        QFETCH(RestbRow, r);
        QFETCH(QString, expected);
        const QStringList got{resultText(r), raceTimeText(r), courseText(r), startText(r), tiltText(r),
                              exhibitionText(r), rawResult(r), rawRaceTime(r), signedTilt(r)};
        QCOMPARE(got.join(u'|'), expected);
    }

    // The five reasons in the paper's order, each five wide, then the points.
    void penalty()
    {
        const QString words = QString::fromUtf16(u"選責\u3000\u3000 待機違反 不良航法 反則\u3000\u3000 失速２回 ");
        for (int flag = 0; flag <= 6; ++flag) {
            RestbRow r;
            r.gentenflag = flag;
            r.genten = flag == 5 ? 100 : 5;
            QCOMPARE(penaltyText(r), flag < 1 || flag > 5 ? QString() : words.mid(5 * flag - 5, 5) + (flag == 5 ? "-100" : " -5"));
        }
    }

    // The header of each race; a void bet type shows nothing of its own.
    void header()
    {
        const std::tuple<int, int, const char *> cases[] = {
            {0, 0, "3|1|5|¥   1,230|人気   4番|¥ 1,234,560|人気  12番"}, {0, 1, "3|1||¥   1,230|人気   4番||"},
            {1, 0, "3|1|5|||¥ 1,234,560|人気  12番"}};
        QVERIFY(!load_raceresult(kRace));
        QCOMPARE(get_racedate(kRace.setuscode, kRace.datescnt), QStringLiteral("00000000"));
        for (const auto &[flag2, flag3, expected] : cases) {
            insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 5}, {"Date", "20240102"},
                                  {"racesname", "一般戦"}, {"renban_2ta", "31"}, {"renban_3ta", "315"},
                                  {"haikin_2ta", 1230}, {"ninkido_2ta", 4}, {"haikin_3ta", 1234560},
                                  {"ninkido_3ta", 12}, {"kazesoku", 3}, {"nami", 5}, {"seiriflag_2t", flag2},
                                  {"seiriflag_3t", flag3}, {"kazemuki", "北"}, {"kimarite", "逃げ"}, {"tenkai", "展開"}});
            QCOMPARE(get_racedate(kRace.setuscode, kRace.datescnt), QStringLiteral("20240102"));
            const auto h = load_raceresult(kRace);
            QVERIFY(h);
            const QStringList got{h->renban[0], h->renban[1], h->renban[2], h->haikin_2ta, h->ninkido_2ta,
                                  h->haikin_3ta, h->ninkido_3ta};
            QCOMPARE(got.join(u'|'), QString::fromUtf8(expected));
            QCOMPARE(h->racesname + h->kazemuki + h->kazesoku + h->nami + h->kimarite + h->tenkai,
                     QStringLiteral("一般戦北3ｍ5㎝逃げ展開"));
        }
    }

    // Places first, then the other codes by number, ties by frame; columns
    // 0..9 carry the frame's tint, the hidden ones none; a refill keeps
    // nothing of the race before.
    void gridOrderAndTints()
    {
        // Inserted from frame 6 down, so only the order clause puts frame 1 before frame 6.
        const int rows[][4] = {{6, 14, 6, 15}, {5, 3, 5, 13}, {4, 12, 4, 2}, {3, 1, 3, 11}, {2, 2, 2, 10}, {1, 14, 0, 0}};
        for (const auto &r : rows)
            insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 5}, {"wakusno", r[0]},
                                  {"cyakucode", r[1]}, {"sinyuno", r[2]}, {"starttime", r[3]},
                                  {"tourokuno", 4000 + r[0]}, {"tenjitime", r[1] == 14 ? 0.0 : 6.7}, {"yososno", 2},
                                  {"sensyname", "選手"}, {"racestime", 1496}, {"chilt", -0.5}, {"gentenflag", 2}, {"genten", 5}});
        insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 6}, {"wakusno", 1}});
        GridModel grid;
        set_mfgf_restb(grid);
        QCOMPARE(rowTexts(grid, 0, 0, ColPenalty).join(u' '), QStringLiteral("着順 予想 枠 選手名 タイム 進入 ST チルト 展示 減点"));
        fill_restb(grid, load_restb(kRace));
        QCOMPARE(grid.rows(), 7);
        QString frames;
        for (int r = 1; r <= 6; ++r)
            frames += grid.text(r, ColFrame);
        QCOMPARE(frames, QStringLiteral("325416"));
        QCOMPARE(QPoint(grid.col(), grid.row()), QPoint(0, 1));   // the winner's row is current
        QCOMPARE(rowTexts(grid, 3, 0, ColTourokuno).join(u'|'),
                 QStringLiteral("３着|○|5|選手|1.49.6|5|13|-0.5|6.70|待機違反  -5|2|3|1496|-0.5|4005"));
        // Frame 5 (row 3) is pale yellow, frame 4 (row 4) pale blue, up to the penalty column only.
        QCOMPARE(grid.backColor(3, ColResult).value_or(0) & 0xFFFFFF, 0xFFFFC0u);
        QCOMPARE(grid.backColor(4, ColPenalty).value_or(0) & 0xFFFFFF, 0xC0C0FFu);
        QVERIFY(!grid.backColor(4, ColRawMark));
        fill_restb(grid, {boat(9, 1, 1, 10, 1, "枠外")});
        QCOMPARE(grid.rows(), 2);
        QCOMPARE(grid.text(1, ColName), QStringLiteral("枠外"));
        QVERIFY(!grid.backColor(1, ColResult));
    }

    // A boat without a time keeps 0: first by ascending time, passed over by
    // the average (1.49.6 and 1.50.2 average 1.49.9).
    void sortAndAverageByTime()
    {
        GridModel grid;
        set_mfgf_restb(grid);
        fill_restb(grid, {row(2, 2, 10, 0, 6.7, 1502, 2), row(1, 1, 9, 0, 6.7, 1496, 1), row(14, 0, 0, 0, 0, 0, 6)});
        const gridpopup::Member *m = gridpopup::member(QStringLiteral("mnurr"));
        QVERIFY(m);
        grid.setRow(1);
        grid.setCol(ColTime);
        QVERIFY(gridpopup::sort(grid, *m, true));
        QCOMPARE(grid.text(1, ColFrame) + grid.text(2, ColFrame) + grid.text(3, ColFrame), QStringLiteral("612"));
        const auto average = gridpopup::average(grid, *m);
        QVERIFY(average);
        QCOMPARE(average->text, QStringLiteral("平均値は 1.49.9 です...\r\n\r\n合計 3.39.8    件数 2件"));
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
        QCOMPARE(d[2]->boatTop + d[2]->waveTop, 3540 + 3580 + 2 * 480);
        QCOMPARE(d[2]->boatPicture, 11);   // boats of frames 1..6 are pictures 8..13
    }

    // Boats go to the row of their course; an absent boat, a course beyond 6
    // and a frame outside 1..6 draw nothing; no mark gives a leading blank.
    void diagramRows()
    {
        const StartDiagram d = disp_sinyu({boat(1, 1, 2, 10, 0, "甲"), boat(2, 2, 1, 12, 1, "乙"), boat(3, 14, 0, 0),
                                           boat(4, 3, 7, 11), boat(7, 4, 4, 11), boat(5, 5, 6, 20, 3, "丙")});
        QVERIFY(d[0] && d[1] && !d[2] && !d[3] && !d[4] && d[5]);
        QCOMPARE(d[0]->text + d[1]->text, QStringLiteral("◎ 乙 12 甲 10"));
        QCOMPARE(d[5]->boatTop, 3540 + 5 * 240);
    }

    // Day 4, race 7: days 1..3 of race 7 in day order, nothing of later days
    // or other races; day 1: the header only.
    void earlierDaysOfTheRace()
    {
        for (int day : {3, 1, 5, 4, 2})
            insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", 7},
                                  {"racesname", QStringLiteral(" 一般戦%1日 ").arg(day)}});
        insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 8}});
        GridModel grid;
        fillDeme(grid, 7, 4);
        QCOMPARE(grid.rows(), 4);
        for (int day = 1; day <= 3; ++day)
            QCOMPARE(grid.text(day, 0) + grid.text(day, 1), QStringLiteral("%1日目一般戦%1日").arg(day));
        QCOMPARE(rowTexts(grid, 0, 0, 7).join(u' '), QStringLiteral("日程 レース名 2連単 配当金 人気度 3連単 配当金 人気度"));
        QCOMPARE(fillDeme(grid, 7, 1), QStringList());
    }

    // Each bet type shows only when the race is settled and its own flag is 0.
    void bets()
    {
        const std::tuple<int, int, int, const char *> cases[] = {
            {0, 0, 0, "3-1| 12,340|  4|3-1-5|1,234,560|120|12340|1234560"}, {0, 0, 1, "3-1| 12,340|  4||||12340|"},
            {0, 1, 0, "|||3-1-5|1,234,560|120||1234560"}, {1, 0, 0, "|||||||"}};
        for (int race = 1; race <= 4; ++race) {
            const auto &[settled, flag2, flag3, cells] = cases[race - 1];
            insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", 1}, {"racesno", race}, {"seiriflag", settled},
                                  {"seiriflag_2t", flag2}, {"seiriflag_3t", flag3}, {"renban_2ta", "31"},
                                  {"haikin_2ta", 12340}, {"ninkido_2ta", 4}, {"renban_3ta", "315"},
                                  {"haikin_3ta", 1234560}, {"ninkido_3ta", 120}});
            GridModel grid;
            QCOMPARE(fillDeme(grid, race, 2).mid(2).join(u'|'), QString(cells));
        }
    }

    void previousRuns_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QStringList>("expected");   // cells up to the last filled one
        QTest::newRow("trimmed, short last unit") << 1 << " 1012024F " << "一般 江戸川一般 "
            << QStringList{cell("１着", kWhite), cell("２着", kPink), cell("Ｆ", kGrey)};
        QTest::newRow("blank and zero kinds keep their cells") << 2 << "101 02003303505" << ""
            << QStringList{cell("１着", kWhite), "@-", "@-", cell("３着", kBlue), cell("５着", kGreen)};
        QTest::newRow("accidents and letter codes") << 3 << "1571121K15S2114" << ""
            << QStringList{cell("転覆 責", kWhite), cell("Ｆ", kWhite), cell("欠場 責", kWhite), cell("反則", kGreen),
                           cell("欠場 外", kWhite)};
        QTest::newRow("unknown kind draws uncoloured") << 3 << "701801" << "" << QStringList{"１着@-", "１着@-"};
        QTest::newRow("first run here") << 4 << "   " << "初出走のため 前回当地成績は有りません" << QStringList{};
        QTest::newRow("last run here") << 4 << "" << "ＧⅢ 23年11月 " << QStringList{};
        QTest::newRow("new motor, units still drawn") << 5 << "101" << "新機のため 前々回成績は有りません"
            << QStringList{cell("１着", kWhite)};
        QTest::newRow("motor's last user") << 6 << "" << "佐藤　次郎 B1級 50㎏  節間最高時計 1.49.6" << QStringList{};
        QTest::newRow("boat before last") << 7 << "" << "高橋　三郎 09月05日" << QStringList{};
        QTest::newRow("new boat") << 8 << "" << "新艇のため 前回成績は有りません" << QStringList{};
        QTest::newRow("no such panel") << 9 << "101" << "" << QStringList{};
        QTest::newRow("more than fourteen units") << 3 << QString("102").repeated(16) << "" << QStringList(14, cell("２着", kWhite));
    }
    void previousRuns()
    {
        QFETCH(int, flag);
        QFETCH(QString, history);
        QFETCH(QString, comment);
        QFETCH(QStringList, expected);
        const char *const histories[] = {"seiseki_z3", "seiseki_z2", "seiseki_z1", "seiseki_zt", "seiseki_m2",
                                         "seiseki_m1", "seiseki_b2", "seiseki_b1", "seiseki_b1"};
        const bool localRun = flag == 4 && history.isEmpty();
        const ZensoPanel p = zensoPanel(test::record({
            {histories[flag - 1], history}, {"gradecode_z3", 1}, {"racesdisp_z3", "江戸川　一般"}, {"ketujyo_z3", "  "},
            {"gradecode_zt", 2}, {"s_date_zt", localRun ? "2311" : " "}, {"tourokuno_m1", 4002},
            {"sensyname_m1", "佐藤　次郎"}, {"classcode_m1", "B1"}, {"weight_m1", 50}, {"firsttime_m1", 1496},
            {"tourokuno_b2", 4003}, {"sensyname_b2", "高橋　三郎"}, {"s_date_b2", "0905"}}), flag);
        QStringList got;
        for (const ZensoCell &c : p.cells)
            got << c.text + u'@' + (c.color ? QString::number(*c.color & 0xFFFFFF, 16) : QStringLiteral("-"));
        while (!got.isEmpty() && got.last() == QStringLiteral("@-"))
            got.removeLast();
        QCOMPARE(got, expected);
        if (!comment.isEmpty() || flag == 9)
            QCOMPARE(p.comment, comment);
    }
};

QTEST_GUILESS_MAIN(TestResults)
#include "tst_results.moc"
