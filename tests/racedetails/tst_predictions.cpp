// The predictions: the panel's waiting formations, its line-up in the paper's
// order, the boats and wakes near the start line, malformed or missing rows;
// the power-index grid's headers, bands, cells and refills.

#include "common/modkelmon.h"
#include "platform/pictures.h"
#include "racedetails/powerindex.h"
#include "racedetails/yosopanel.h"
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

GridPicture boat(int frame) { return {imlyosodisp1, frame}; }

YosoPanel loaded(int race, YosoPanel panel = {})
{
    panel.load("4321", "3", QString::number(race));
    return panel;
}

const char *const kIndices[8] = {"giryosisu", "sryoksisu", "kryoksisu", "toutisisu",
                                 "kikyosisu", "wakussisu", "ninnisisu", "totalsisu"};

// A boat whose eight indices are the given values, "" for none.
void insertBoat(int race, int frame, const QString &name, const QStringList &values = {}, int flag = 1)
{
    test::insertRow("f_wakus", {{"setuscode", 4321}, {"datescnt", 3}, {"racesno", race}, {"wakusno", frame},
                                {"sensyname", name}, {"tourokuno", 4000 + frame}, {"flag_ss", flag}});
    for (int i = 0; i < values.size(); ++i)
        modkelmon::exec(QStringLiteral("update f_wakus set %1 = ? where racesno = %2 and wakusno = %3")
                       .arg(kIndices[i]).arg(race).arg(frame), {values[i]});
}

void fillPower(GridModel &grid, int race) { disp_powp(grid, "4321", "3", QString::number(race)); }

QStringList rowTexts(const GridModel &grid, int row, int from = 0)
{
    QStringList texts;
    for (int c = from; c < grid.cols() && row < grid.rows(); ++c)
        texts << grid.text(row, c);
    return texts;
}

} // namespace

class TestPredictions : public test::DatabaseTest {
    Q_OBJECT

private slots:
    // The groups of a style stand at 1200, 720 and 240; an unknown style is 330.
    void styles()
    {
        const int F = 1200, M = 720, L = 240;
        const std::tuple<const char *, const char *, Lefts> cases[] = {{"114", "1:1:4", {F, M, L, L, L, L}},
            {"231", "2:3:1", {F, F, M, M, M, L}}, {" 510 ", "5:1", {F, F, F, F, F, L}}, {"600", "3:3", {F, F, F, L, L, L}}};
        for (int race = 1; race <= 4; ++race)
            insertPrediction(race, "123456", "123456", "000000", std::get<0>(cases[race - 1]));
        for (int race = 1; race <= 4; ++race) {
            const auto &[style, label, lefts] = cases[race - 1];
            const YosoPanel panel = loaded(race);
            QCOMPARE(panel.styleLabel, QString(label));
            for (int k = 0; k < 6; ++k)
                QCOMPARE(panel.styleBoats[k], (YosoPlacement{boat(k + 1), lefts[k], 2100 + 240 * k}));
        }
    }

    // Every per-frame item stands on the line of the frame's panel position.
    void lineUpFollowsThePanelPositions()
    {
        insertPrediction(1, "012345", "321654", "210000", "150", QStringLiteral(" 本命戦 "));
        insertBoat(1, 1, QStringLiteral("山田太郎兵衛"));
        insertBoat(1, 2, QStringLiteral("佐藤"));
        insertBoat(1, 5, QStringLiteral("田中"));   // frames 3, 4, 6 have no racer row
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

    // Digits 0..2 place the boat and its wake, a letter counts as 0; another
    // digit keeps the boat where the race shown before put it (4920, wake at
    // 3720) and shows no wake.
    void startLine()
    {
        const std::tuple<QChar, int, int, int> cases[] = {
            {'0', 4440, 7, 3840}, {'1', 4680, 8, 3720}, {'2', 4920, 9, 3720}, {'x', 4440, 7, 3840}, {'5', 4920, 0, 3720}};
        insertPrediction(1, "123456", "123456", "222222", "330");
        for (const auto &[digit, boatLeft, wave, waveLeft] : cases) {
            insertPrediction(2, "123456", "123456", QStringLiteral("00%1000").arg(digit), "330");
            YosoPanel panel = loaded(1);
            panel.clear();
            panel = loaded(2, panel);
            QCOMPARE(panel.lineBoats[2], (YosoPlacement{boat(3), boatLeft, 2100 + 480}));
            const GridPicture wake = wave ? GridPicture{imlyosodisp1, wave} : GridPicture{};
            QCOMPARE(panel.waves[2], (YosoPlacement{wake, waveLeft, 2140 + 480}));
        }
    }

    // A race without a prediction fills nothing. Positions 0, blank and 7..9
    // place nothing and the later of two frames claiming one position wins
    // it; short packed fields and frames outside 1..6 move nothing into a
    // wrong line.
    void missingAndMalformed()
    {
        insertPrediction(1, "123456", "123456", "000000", "150", QStringLiteral("混戦"));
        insertBoat(2, 1, QStringLiteral("山田"));
        YosoPanel panel = loaded(1);
        panel.clear();
        QVERIFY(!panel.load("4321", "3", "2"));
        QCOMPARE(panel.styleLabel + panel.word4 + panel.lines[0], QString());
        QVERIFY(panel.wordPicture.isNull() && panel.lineBoats[0].picture.isNull() && panel.waves[0].picture.isNull());

        insertPrediction(3, "111111", "0 7922", "222222", "330", QStringLiteral("大波乱"));
        for (int f = 1; f <= 7; ++f)
            insertBoat(3, f, QStringLiteral("選手%1").arg(f));
        panel = loaded(3);
        QVERIFY(panel.wordPicture.isNull());
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(panel.lineBoats[k].picture, k == 1 ? boat(6) : GridPicture{});
            QCOMPARE(panel.lines[k], k == 1 ? QStringLiteral("◎ 選手6") : QString());
        }

        insertPrediction(4, "1", "21", "2", "213");
        insertBoat(4, 2, QStringLiteral("二号"));
        panel = loaded(4);
        QCOMPARE(panel.lines[1], QStringLiteral("◎"));         // frame 1: mark, no racer row
        QCOMPARE(panel.lines[0], QStringLiteral(" 二号"));     // frame 2: no mark digit
        QCOMPARE(panel.lineBoats[0].left, 4440);
        QCOMPARE(panel.lines[2], QString());
    }
    // Band k of 2..22 covers 4k + 3 .. 4k + 6; pictures 22..44 are bands 1..23.
    void bands()
    {
        const QList<std::pair<const char *, int>> cases = {
            {"0", 22}, {"10", 22}, {"11", 23}, {"14", 23}, {"15", 24}, {" 50 ", 32}, {"94", 43}, {"95", 44},
            {"99", 44}, {"12pt", 23}, {"100", 0}, {"-1", 0}, {"10.5", 0}, {"--", 0}, {"", 0}};
        for (const auto &[value, picture] : cases)
            QVERIFY2(powerBand(QString::fromLatin1(value)) + (picture ? 21 : 0) == picture, value);
    }

    // Headers with the day kind; the row of a frame is its number, names
    // trimmed and cut to four characters; each index goes to its own column
    // with its raw value hidden ten columns to the right.
    void fillCells()
    {
        insertBoat(3, 2, QStringLiteral("　 山田太郎兵衛"), {"12", "15", "--", "0", "94", "95", "", "50"}, 3);
        insertBoat(3, 5, QStringLiteral("佐藤"), {"95"});
        GridModel grid;
        fillPower(grid, 3);
        QCOMPARE(rowTexts(grid, 0).mid(0, 9),
                 QString("選手名 技量 Ｓ力 機力 当地 近況 枠番 最終日 総合").split(' '));
        QCOMPARE(grid.text(2, 0), QStringLiteral("山田太郎"));
        QCOMPARE(rowTexts(grid, 2, 9), QString("4002 2 12 15 -- 0 94 95  50").split(' '));
        const int pictures[8] = {23, 24, 0, 22, 43, 44, 0, 32};
        for (int c = 1; c <= 8; ++c)
            QCOMPARE(grid.picture(2, c), (pictures[c - 1] ? GridPicture{imlyosodisp1, pictures[c - 1]} : GridPicture{}));
        QCOMPARE(grid.backColor(2, 0).value_or(0) & 0xFFFFFF, 0xC0C0C0u);
        QCOMPARE(grid.picture(5, 1), (GridPicture{imlyosodisp1, 44}));
    }

    // A refill empties the rows first: a frame the new race lacks, and a race
    // without rows, show no boat of the race shown before; frame numbers
    // outside 1..6 are skipped; the current cell starts again on the first boat.
    void refillKeepsNoOtherRace()
    {
        for (int f = 1; f <= 6; ++f)
            insertBoat(1, f, QStringLiteral("一の%1").arg(f), {"60"});
        for (int f : {1, 2, 3, 4, 7, 0})
            insertBoat(2, f, QStringLiteral("二の%1").arg(f), {"30"});
        GridModel grid;
        fillPower(grid, 1);
        grid.setRow(5);   // where a click left the current cell
        grid.setCol(3);
        fillPower(grid, 2);
        QCOMPARE(grid.rows(), 7);
        QCOMPARE(QPoint(grid.col(), grid.row()), QPoint(0, 1));   // back on the first boat
        QCOMPARE(grid.text(4, 0), QStringLiteral("二の4"));
        for (int r : {5, 6}) {
            QCOMPARE(rowTexts(grid, r).join(""), QString());
            QVERIFY(!grid.backColor(r, 0) && grid.picture(r, 1).isNull());
        }
        fillPower(grid, 9);
        QCOMPARE(grid.text(1, 0), QString());
        QCOMPARE(grid.text(0, 7), QStringLiteral("--"));
    }
};

QTEST_GUILESS_MAIN(TestPredictions)
#include "tst_predictions.moc"
