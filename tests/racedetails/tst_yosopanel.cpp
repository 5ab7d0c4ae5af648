// The prediction panel: waiting formations, the line-up in the paper's order,
// the boats and wakes near the start line, malformed or missing rows, and
// what the generated sample papers give it.

#include "common/modkelmon.h"
#include "platform/pictures.h"
#include "racedetails/demegrid.h"
#include "racedetails/powerindex.h"
#include "racedetails/yosopanel.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;

namespace {

using Lefts = QList<int>;

void insertPrediction(int race, const QString &marks, const QString &positions, const QString &digits,
                      const QString &style, const QString &word5 = QString())
{
    test::insertRow("f_yosos", {{"setuscode", 4321}, {"datescnt", 3}, {"racesno", race}, {"yosos_1", marks},
                                {"yosos_2", positions}, {"yosos_3", digits}, {"Style", style},
                                {"yososword_1", QStringLiteral("　１は逃げ  ")}, {"yososword_4", " イン逃げ　"},
                                {"yososword_5", word5}, {"sunpyo_1", " 出足良 "}, {"sunpyo_6", "一息"}});
}

void insertRacer(int race, int frame, const QString &name)
{
    test::insertRow("f_wakus", {{"setuscode", 4321}, {"datescnt", 3}, {"racesno", race}, {"wakusno", frame},
                                {"sensyname", name}});
}

GridPicture boat(int frame) { return {imlyosodisp1, frame}; }

YosoPanel loaded(int race, YosoPanel panel = {})
{
    panel.load("4321", "3", QString::number(race));
    return panel;
}

} // namespace

class TestYosoPanel : public test::DatabaseTest {
    Q_OBJECT

private slots:
    void styles_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("label");
        QTest::addColumn<Lefts>("lefts");   // positions 1..6
        const int F = 1200, M = 720, L = 240;
        QTest::newRow("114") << "114" << "1:1:4" << Lefts{F, M, L, L, L, L};
        QTest::newRow("510 with blanks") << " 510 " << "5:1" << Lefts{F, F, F, F, F, L};
        QTest::newRow("not a style") << "600" << "3:3" << Lefts{F, F, F, L, L, L};
    }
    void styles()
    {
        QFETCH(QString, style);
        QFETCH(QString, label);
        QFETCH(Lefts, lefts);
        insertPrediction(1, "123456", "123456", "000000", style);
        const YosoPanel panel = loaded(1);
        QCOMPARE(panel.styleLabel, label);
        for (int k = 0; k < 6; ++k)
            QCOMPARE(panel.styleBoats[k], (YosoPlacement{boat(k + 1), lefts[k], 2100 + 240 * k}));
    }

    // Every per-frame item stands on the line of the frame's panel position.
    void lineUpFollowsThePanelPositions()
    {
        insertPrediction(1, "012345", "321654", "210000", "150", QStringLiteral(" 本命戦 "));
        insertRacer(1, 1, QStringLiteral("山田太郎兵衛"));
        insertRacer(1, 2, QStringLiteral("佐藤"));
        insertRacer(1, 5, QStringLiteral("田中"));   // frames 3, 4, 6 have no racer row
        const YosoPanel panel = loaded(1);
        // Frame f is on line position(f) - 1: 1->2, 2->1, 3->0, 4->5, 5->4, 6->3.
        const int line[7] = {0, 2, 1, 0, 5, 4, 3};
        const QString shown[7] = {"", QStringLiteral(" 山田太郎"), QStringLiteral("◎ 佐藤"), QStringLiteral("○"),
                                  QStringLiteral("×"), QStringLiteral("△ 田中"), QStringLiteral("注")};
        for (int f = 1; f <= 6; ++f) {
            const int k = line[f];
            QCOMPARE(panel.lines[k], shown[f]);
            QCOMPARE(panel.lineBoats[k].picture, boat(f));
            QCOMPARE(panel.frameMarks[k], (YosoPlacement{{imlyosodisp1, 15 + f}, 5760, 2163 + 240 * k}));
        }
        QCOMPARE(panel.comments[2] + panel.comments[3], QStringLiteral("出足良一息"));
        QCOMPARE(panel.words[0], QStringLiteral("　１は逃げ"));   // leading blanks stay
        QCOMPARE(panel.word4, QStringLiteral("イン逃げ"));
        QCOMPARE(panel.wordPicture, (GridPicture{imlyosodisp1, 15}));
    }

    void startLine_data()
    {
        QTest::addColumn<QString>("digit");
        QTest::addColumn<int>("boatLeft");
        QTest::addColumn<int>("wave");       // picture index, 0 none
        QTest::addColumn<int>("waveLeft");
        // The race shown before put the boat at 4920 with the longest wake at 3720.
        QTest::newRow("0") << "0" << 4440 << 7 << 3840;
        QTest::newRow("1") << "1" << 4680 << 8 << 3720;
        QTest::newRow("2") << "2" << 4920 << 9 << 3720;
        QTest::newRow("letter counts as 0") << "x" << 4440 << 7 << 3840;
        QTest::newRow("5 keeps the boat, no wake") << "5" << 4920 << 0 << 3720;
    }
    void startLine()
    {
        QFETCH(QString, digit);
        QFETCH(int, boatLeft);
        QFETCH(int, wave);
        QFETCH(int, waveLeft);
        insertPrediction(1, "123456", "123456", "222222", "330");
        insertPrediction(2, "123456", "123456", "00" + digit + "000", "330");
        YosoPanel panel = loaded(1);
        panel.clear();
        panel = loaded(2, panel);
        QCOMPARE(panel.lineBoats[2], (YosoPlacement{boat(3), boatLeft, 2100 + 480}));
        QCOMPARE(panel.waves[2], (YosoPlacement{wave ? GridPicture{imlyosodisp1, wave} : GridPicture{}, waveLeft,
                                               2140 + 480}));
    }

    // A race without a prediction fills nothing. Positions 0, blank and 7..9
    // place nothing and the later of two frames claiming one position wins
    // it; short packed fields and frames outside 1..6 move nothing into a
    // wrong line.
    void missingAndMalformed()
    {
        insertPrediction(1, "123456", "123456", "000000", "150", QStringLiteral("混戦"));
        insertRacer(2, 1, QStringLiteral("山田"));
        YosoPanel panel = loaded(1);
        panel.clear();
        QVERIFY(!panel.load("4321", "3", "2"));
        QCOMPARE(panel.styleLabel + panel.word4 + panel.lines[0], QString());
        QVERIFY(panel.wordPicture.isNull() && panel.lineBoats[0].picture.isNull() && panel.waves[0].picture.isNull());

        insertPrediction(3, "111111", "0 7922", "222222", "330", QStringLiteral("大波乱"));
        for (int f = 1; f <= 7; ++f)
            insertRacer(3, f, QStringLiteral("選手%1").arg(f));
        panel = loaded(3);
        QVERIFY(panel.wordPicture.isNull());
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(panel.lineBoats[k].picture, k == 1 ? boat(6) : GridPicture{});
            QCOMPARE(panel.lines[k], k == 1 ? QStringLiteral("◎ 選手6") : QString());
        }

        insertPrediction(4, "1", "21", "2", "213");
        insertRacer(4, 2, QStringLiteral("二号"));
        panel = loaded(4);
        QCOMPARE(panel.lines[1], QStringLiteral("◎"));         // frame 1: mark, no racer row
        QCOMPARE(panel.lines[0], QStringLiteral(" 二号"));     // frame 2: no mark digit
        QCOMPARE(panel.lineBoats[0].left, 4440);
        QCOMPARE(panel.lines[2], QString());
    }

    // Registered generated papers fill the panel, the power indices and the
    // outcomes of earlier days of every race.
    void everyRaceIsFilled()
    {
        SamplePaperOptions options;
        options.venue = 5;
        options.date = QDate(2026, 3, 10);
        options.day = 1;
        options.meetingDays = 4;
        QString error;
        const QStringList names = writeSamplePapers(folder->file("receive"), options, 3, &error);
        QVERIFY2(names.size() == 3, qPrintable(error));
        for (const QString &name : names)
            QVERIFY(register_archive(folder->file("receive/" + name)).registered);
        const QString setuscode = modkelmon::scalar("select setuscode from f_setfg where kyosocode = 5").toString();
        for (int race = 1; race <= 12; ++race) {
            const QString racesno = QString::number(race);
            YosoPanel panel;
            QVERIFY(panel.load(setuscode, "3", racesno));
            QSet<int> frames;
            for (int k = 0; k < kYosoLines; ++k)
                frames << panel.lineBoats[k].picture.index;
            QCOMPARE(frames.size(), 6);
            GridModel power;
            disp_powp(power, setuscode, "3", racesno);
            QVERIFY(!power.text(6, 0).isEmpty());
            // Day 3 lists the race's results of days 1 and 2.
            GridModel deme;
            set_mfgf_resta(deme);
            disp_f_resta(deme, setuscode, racesno, "3");
            QCOMPARE(deme.rows(), 3);
            QCOMPARE(deme.text(2, 5).size(), 5);
        }
    }
};

QTEST_GUILESS_MAIN(TestYosoPanel)
#include "tst_yosopanel.moc"
