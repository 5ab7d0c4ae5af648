// The race card window inside the main window: caption and race selector,
// prediction pictures, two cards with the format menu, and the popup.

#include "app/ui/viewerfactory.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"
#include "racecard/ui/frmraceinfo.h"
#include "racecard/ui/racecardcommands.h"
#include "support/fixtures.h"
#include "support/gridshown.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

constexpr int kVenue = 12;   // 住之江

// A cell the popup is opened on (block code, 0 for the fixed columns; column
// offset; row; text written into it first unless empty), the popup entry
// chosen (7 racer, 8 race card, 9 result or previous runs), and the window
// that opens (class name, empty when the entry is disabled), its caption and
// context fields racesno/datescnt/tourokuno/wakusno/flag.
struct Click {
    int code, offset, row;
    QString text;
    int entry;
    QString window, caption, fields;
};

void selectRace(frmraceinfo *card, int race)
{
    card->imcracesno->setCurrentIndex(race - 1);
    card->imcracesno_Click();
}

} // namespace

Q_DECLARE_METATYPE(Click)

class TestRaceCardWindow : public test::WindowTest {
    Q_OBJECT

    frmraceinfo *openCard(int race = cardtest::kRace)
    {
        frame->mnuraceinfo_Click();
        frmraceinfo *card = lastWindow<frmraceinfo>();
        selectRace(card, race);
        return card;
    }
    // A right-click through the view, or on the handler for a cell off screen.
    bool rightClickCell(frmraceinfo *card, int row, int col)
    {
        if (card->mfgf_wakus->viewportRect(QRect(col, row, 1, 1)).isValid())
            return rightClick(card->mfgf_wakus, "mnuri", row, col);
        card->engine().grid().setRow(row);
        card->engine().grid().setCol(col);
        card->mfgf_wakus_MouseDown(row, col, Qt::RightButton, QPoint());
        const bool shown = frame->menus().menu("mnuri")->isVisible();
        frame->menus().menu("mnuri")->hide();
        return shown;
    }
    QAction *addEntry(int i) const { return frame->menus().action(QStringLiteral("mnurisubadd_%1").arg(i)); }
    QList<int> enabledAddEntries() const
    {
        QList<int> menus;
        for (int m = 0; m < 28; ++m)
            if (!addEntry(m)->isSeparator() && addEntry(m)->isEnabled())
                menus << m;
        return menus;
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertPaperDay(kVenue, cardtest::kSetus, cardtest::kDay, "20011225");
        for (int race = 1; race <= 12; ++race)
            if (race != 11)   // a race the paper does not hold
                test::insertRow("f_races", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", race}, {"time_1", "1527"},
                                            {"racesname", QStringLiteral("第%1競走特別選抜戦").arg(race)}});
        cardtest::insertSixBoats();
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    void captionAndSelector()
    {
        frmraceinfo *card = openCard(1);
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25  1R)"));
        QCOMPARE(card->imcracesno->count(), 12);
        QCOMPARE(card->lblracesname->text(), QString("第1競走特別選抜"));
        QCOMPARE(card->lbltime_1->text(), QString("15時27分"));
        QTest::keyClick(card->imcracesno, Qt::Key_Left);   // left and right step through the races
        QCOMPARE(card->context().racesno, QString("1"));
        QTest::keyClick(card->imcracesno, Qt::Key_Right);
        QCOMPARE(card->lblracesname->text(), QString("第2競走特別選抜"));
        selectRace(card, 12);
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 12R)"));
        QCOMPARE(card->context().racesno, QString("12"));
        // A race the paper does not hold: the warning, and an empty header.
        ScriptedMessages box;
        selectRace(card, 11);
        QCOMPARE(box.texts(), QStringList{"該当日のデジタル紙面は有りません"});
        QCOMPARE(card->lblracesname->text(), QString());
    }

    // A race the race table lacks: the warning comes after the header is reset
    // and before the race's pictures and boats are drawn, which follow it.
    void warningBeforePicturesAndCard()
    {
        modkelmon::exec(QStringLiteral("delete from f_races where racesno = %1").arg(cardtest::kRace));
        test::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                    {"racesno", cardtest::kRace}, {"yosos_1", "134200"}});
        frmraceinfo *card = openCard(1);
        auto shown = [card] {
            int pictures = 0;
            for (const QLabel *p : card->imayn)
                pictures += p->pixmap().isNull() ? 0 : 1;
            return QStringList{card->lblracesname->text(), card->lbltime_1->text(), QString::number(pictures),
                               card->grid().text(boatRow(1), 4).left(4)};
        };
        struct Watch : ScriptedMessages {
            std::function<void()> onShow;
            void information(const QString &t, const QString &s) override { onShow(); ScriptedMessages::information(t, s); }
        } box;
        QStringList seen;
        box.onShow = [&] { seen = shown(); };
        selectRace(card, cardtest::kRace);
        QCOMPARE(box.texts(), QStringList{"該当日のデジタル紙面は有りません"});
        QCOMPARE(seen + shown(), (QStringList{"", "  時  分", "0", "", "", "  時  分", "12", "4001"}));
    }

    // After the meeting is deleted under an open card, no race shows another
    // race's boats, not even while the warning for the missing race is shown.
    void deletedMeetingLeavesNoStaleRows()
    {
        frmraceinfo *card = openCard();
        GridModel &grid = card->engine().grid();
        QVERIFY(!grid.text(boatRow(1), 4).isEmpty());
        for (const char *table : {"f_setus", "f_setfg", "f_races", "f_wakus", "f_yosos"})
            modkelmon::exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        auto boatTexts = [&grid] {
            QString texts;
            for (int r = boatRow(1); r < grid.rows(); ++r)
                for (int c = 0; c < grid.cols(); ++c)
                    texts += grid.text(r, c);
            return texts;
        };
        struct Watch : ScriptedMessages {
            std::function<void()> onShow;
            void information(const QString &t, const QString &s) override { onShow(); ScriptedMessages::information(t, s); }
        } box;
        QString whileShown = "-";
        box.onShow = [&] { whileShown = boatTexts(); };
        selectRace(card, cardtest::kRace + 1);
        QCOMPARE(whileShown, QString());
        QCOMPARE(boatTexts(), QString());
    }

    // Every picture is cleared before the race's prediction is drawn.
    void predictionPictures_data()
    {
        QTest::addColumn<QString>("roles");
        QTest::addColumn<QList<int>>("frames");   // per picture: frame, negative when small, 0 empty
        QTest::newRow("complete") << "134200" << QList<int>{1, 4, -2, -3, 1, 2, -4, -3, 1, 3, -4, -2};
        QTest::newRow("blank frame keeps its place") << " 1 2  " << QList<int>{2, 4, 0, 0, 2, 0, -4, 0, 2, 0, -4, 0};
        QTest::newRow("no prediction") << "" << QList<int>(12, 0);
    }
    void predictionPictures()
    {
        QFETCH(QString, roles);
        QFETCH(QList<int>, frames);
        // Race 4 holds a complete prediction and is shown first.
        for (const auto &[race, yosos] : {std::pair{4, QString("432100")}, {cardtest::kRace, roles}})
            if (!yosos.isEmpty())
                test::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", race}, {"yosos_1", yosos}});
        frmraceinfo *card = openCard(4);
        selectRace(card, cardtest::kRace);
        for (int i = 0; i < 12; ++i) {
            const int f = frames[i];
            QCOMPARE(card->imayn[std::size_t(i)]->pixmap().toImage(),
                     f ? pictures::image(imlraceinfo1, f > 0 ? pictures::frameLarge(f) : pictures::frameSmall(-f)) : QImage());
        }
    }

    // The format menu and the popup act on the active card only: the add
    // entries are those of the card clicked; header cells of separators and
    // separator rows open no popup.
    void twoCards()
    {
        frmraceinfo *normal = openCard();
        frmraceinfo *full = openCard();
        frame->menus().action("mnudispb")->trigger();   // all blocks
        QCOMPARE(full->grid().cols(), 150);
        QCOMPARE(normal->grid().cols(), 47);
        QVERIFY(rightClickCell(full, boatRow(2), 4));
        QVERIFY(enabledAddEntries().isEmpty());
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(normal->parentWidget()));
        QVERIFY(rightClickCell(normal, boatRow(1), 6));
        QCOMPARE(enabledAddEntries(), (QList<int>{5, 6, 7, 8, 9, 10, 13, 14, 15, 18, 19, 22, 23, 24, 27}));
        QVERIFY(!rightClickCell(normal, 0, 7));
        QVERIFY(!rightClickCell(normal, boatRow(3) + 4, 6));
        QVERIFY(rightClickCell(normal, 2, 8));
        QCOMPARE(enabledAddEntries().size(), 24 - 9);
        frame->menus().button(20)->trigger();
        QCOMPARE(normal->grid().cols(), 150);
        frame->menus().button(19)->trigger();
        QCOMPARE(normal->grid().cols(), 47);
        QCOMPARE(full->grid().cols(), 150);
    }

    // The windows the popup opens for a cell of the card with every block:
    // kind, caption and the context fields of the clicked boat or race.
    void popupOpensRelatedWindows_data()
    {
        QTest::addColumn<Click>("click");
        const QString zenso = "kelmon::racedetails::frmzensodisp", racer = "kelmon::lists::frmracerdisp";
        QTest::newRow("racer") << Click{0, 4, boatRow(2) + 1, "", 7, racer, "選手2 選手情報を表示しています...",
                                        "5/2/4002/0/0"};
        QTest::newRow("racer not on the card") << Click{0, 4, boatRow(2), "9999", 7, racer,
                                                        " 選手情報を表示しています...", "5/2//0/0"};
        // A header row names no racer: the detail opens for nobody.
        QTest::newRow("racer, header row") << Click{0, 2, 1, "", 7, racer, " 選手情報を表示しています...", "5/2//0/0"};
        const char *panels[8] = {"選手3 3場所前", "選手3 2場所前", "選手3 前走場所", "選手3 前回当地", "モーター 13号機 前々回",
                                 "モーター 13号機 前回", "ボート 23号艇 前々回", "ボート 23号艇 前回"};
        const int cells[8][2] = {{8, 0}, {8, 2}, {8, 4}, {9, 0}, {15, 0}, {15, 2}, {18, 0}, {18, 2}};
        for (int i = 0; i < 8; ++i)
            QTest::addRow("panel %d", i + 1) << Click{cells[i][0], cells[i][1], boatRow(3), "x", 9, zenso,
                                                      QString(panels[i]) + "の成績を表示しています...",
                                                      QString("5/2/0/3/%1").arg(i + 1)};
        // A header cell under a title opens the panel for no racer (frame 0).
        QTest::newRow("panel, header row") << Click{9, 0, 2, "", 9, zenso, " 前回当地の成績を表示しています...",
                                                    "5/2/0/0/4"};
        const QString result = "kelmon::racedetails::frmracerest", results = "レース結果を表示しています...  (住之江 ";
        QTest::newRow("day 1, first race") << Click{19, 0, boatRow(1), " 7R①49", 9, result, results + "01/12/23  7R)",
                                                    "7/1/0/0/0"};
        QTest::newRow("day 3, second race") << Click{19, 10, boatRow(1), "11R③54", 9, result, results + "01/12/27 11R)",
                                                     "11/3/0/0/0"};
        QTest::newRow("no race in the cell") << Click{19, 2, boatRow(1), "欠場", 9, "", "", ""};
        QTest::newRow("race beyond 12") << Click{19, 2, boatRow(1), "13R①", 9, "", "", ""};
        QTest::newRow("early race") << Click{23, 0, boatRow(2), "１２Ｒ３枠", 8, "kelmon::racecard::frmraceinfo",
                                             "レース情報を表示しています...  (住之江 01/12/25 12R)", "12/2/0/0/0"};
        QTest::newRow("early race, header row") << Click{23, 0, 0, "１２Ｒ３枠", 8, "", "", ""};
        QTest::newRow("only race today") << Click{23, 0, boatRow(2), "本日一回", 8, "", "", ""};
    }
    void popupOpensRelatedWindows()
    {
        QFETCH(Click, click);
        const auto &[code, offset, row, text, entry, window, caption, fields] = click;
        for (int day : {1, 3})
            test::insertRow("f_resta", {{"setuscode", cardtest::kSetus}, {"datescnt", day}, {"racesno", 7},
                                        {"Date", QString("200112%1").arg(21 + 2 * day)}});
        frmraceinfo *card = openCard();
        card->set_allgrid();
        const int col = code ? card->engine().layout.rc(card->engine().layout.indexOf(code)) + offset : offset;
        if (!text.isEmpty())
            card->engine().grid().setText(row, col, text);
        QVERIFY(rightClickCell(card, row, col));
        QCOMPARE(item("mnuri", entry)->isEnabled(), !window.isEmpty());
        const int open = int(frame->mdiArea()->subWindowList().size());
        mnurisub_Click(*frame, entry);
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), open + (window.isEmpty() ? 0 : 1));
        if (window.isEmpty())
            return;
        ViewerWindow *opened = lastWindow<ViewerWindow>();
        QCOMPARE(opened->metaObject()->className(), window);
        QCOMPARE(opened->windowTitle(), caption);
        const ViewerContext &c = opened->context();
        QCOMPARE(QStringList({c.racesno, c.datescnt, c.tourokuno, c.wakusno, c.flag}).join('/'), fields);
    }

    // The keys, the main ones and the keypad's with NumLock off, move the
    // current cell over the body and the racer's fixed columns (mark, frame,
    // profile), never into the 4 header rows, pass over the 10-twip
    // separators (rows 4, 9, ..., columns 1, 3, 5 and the last column of
    // every block) and scroll the cell into view; they pop up no menu, the
    // right button still does.
    void keysMoveTheCurrentCell()
    {
        frmraceinfo *card = openCard();
        GridView *view = card->mfgf_wakus;
        const int end = card->grid().cols() - 2, at = boatRow(2) + 3;   // the last column holds a separator
        using test::pressKeys;
        const Qt::Key down = Qt::Key_Down, left = Qt::Key_Left, right = Qt::Key_Right, home = Qt::Key_Home;
        const QKeyCombination first = Qt::ControlModifier | Qt::Key_Home, last = Qt::ControlModifier | Qt::Key_End;
        const std::pair<QList<QKeyCombination>, QPoint> steps[] = {
            {{down, down, down, down}, {6, boatRow(3)}}, {{Qt::Key_Up}, {6, at}}, {{left}, {4, at}},
            {{left, left, left}, {0, at}}, {{right, right}, {4, at}}, {{right}, {6, at}}, {{first, Qt::Key_Up}, {0, 5}},
            {{last}, {end, 33}}, {{right}, {end, 33}}, {{home}, {0, 33}}, {{Qt::Key_End, home, right}, {2, 33}},
            {{right, right, right}, {8, 33}},   // into the body, scrolled back to its start
            {{Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_PageUp}, {8, -1}},   // each on a boat's row
            {{Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_PageUp}, {8, boatRow(1)}}};
        for (const Qt::KeyboardModifiers pad : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
            test::clickCell(view, boatRow(2), 6);
            QVERIFY(view->hasFocus());
            for (const auto &[keys, to] : steps) {
                if (to.y() >= 0) {
                    QCOMPARE(pressKeys(view, keys, pad), to);
                    QVERIFY(test::cellShown(view, to.y(), to.x()));
                } else for (const QKeyCombination page : keys) {
                    const int row = pressKeys(view, {page}, pad).y();
                    QVERIFY2(row >= boatRow(1) && row % 5 != 4, qPrintable(QString::number(row)));
                }
            }
            QVERIFY(!frame->menus().menu("mnuri")->isVisible());
        }
        // With every block the card scrolls: a fixed cell is always shown, so
        // the blocks stay scrolled as they were until a key enters them.
        card->set_allgrid();
        test::clickCell(view, boatRow(1), 6);
        QCOMPARE(pressKeys(view, {Qt::Key_End}), QPoint(card->grid().cols() - 2, boatRow(1)));
        const int scrolled = view->horizontalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QCOMPARE(pressKeys(view, {Qt::Key_Home, Qt::Key_Right}), QPoint(2, boatRow(1)));
        QCOMPARE(view->horizontalScrollBar()->value(), scrolled);
        QCOMPARE(pressKeys(view, {Qt::Key_Right, Qt::Key_Right}), QPoint(6, boatRow(1)));
        QVERIFY(test::cellShown(view, boatRow(1), 6));
        QVERIFY(rightClick(view, "mnuri", boatRow(1), 6));
    }

    // A new card starts on the first racer's row (below the four header rows
    // and the separator) in the mark column, where Ctrl+Home goes; tabbed
    // into, the first Down goes on to row 6 (no marks: the cells stay apart).
    void startsOnTheFirstRacersRow()
    {
        frame->mnuraceinfo_Click();
        frmraceinfo *card = lastWindow<frmraceinfo>();
        GridView *view = card->mfgf_wakus;
        QTRY_COMPARE(card->grid().rows(), 34);
        QCOMPARE(QPoint(card->grid().col(), card->grid().row()), QPoint(0, 5));
        card->imcracesno->setFocus();
        for (int i = 0; i < 4 && !view->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(view->hasFocus());
        QCOMPARE(test::pressKeys(view, {Qt::Key_Down}), QPoint(0, 6));
        QCOMPARE(test::pressKeys(view, {Qt::Key_Up, Qt::ControlModifier | Qt::Key_Home}), QPoint(0, 5));
    }

    // A race chosen after a sort is drawn in frame order, the current cell at
    // its place, not on the racer the sort had put there. Rates descending
    // read frames 2, 5, 6, 1, 3, 4; then frames descending from the profile.
    void raceAfterASortKeepsThePlace()
    {
        const double rates[6] = {5.0, 7.5, 5.0, 3.0, 7.5, 6.0};
        modkelmon::exec("delete from f_wakus");
        for (int f = 1; f <= 6; ++f) {
            cardtest::insertBoat(f, {{"syoritu_2k", rates[f - 1]}});
            cardtest::insertBoat(f, {{"racesno", cardtest::kRace + 1}});
        }
        frmraceinfo *card = openCard();
        const GridModel &grid = card->grid();
        struct Sort { QPoint cell; QList<int> frames; int race; };
        for (const Sort &s : {Sort{{6, 10}, {2, 5, 6, 1, 3, 4}, cardtest::kRace + 1},
                              Sort{{4, 33}, {6, 5, 4, 3, 2, 1}, cardtest::kRace}}) {
            QVERIFY(rightClick(card->mfgf_wakus, "mnuri", s.cell.y(), s.cell.x()));
            item("mnuri", 1)->trigger();
            QCOMPARE(cardtest::drawnFrames(grid, 6), s.frames);
            QCOMPARE(QPoint(grid.col(), grid.row()), s.cell);
            selectRace(card, s.race);
            QCOMPARE(cardtest::drawnFrames(grid, 6), (QList<int>{1, 2, 3, 4, 5, 6}));
            QCOMPARE(QPoint(grid.col(), grid.row()), s.cell);
        }
    }

    // The Menu key and Shift+F10 (not F10 alone) open the card's popup at the
    // current cell with the entries a right click there enables. Entries:
    // ascending, descending, average, |, hide, add, |, racer, race card, result, |, help.
    void popupByKeyboard()
    {
        frmraceinfo *card = openCard();
        GridView *view = card->mfgf_wakus;
        QMenu *menu = frame->menus().menu("mnuri");
        const int end = card->grid().cols() - 2;
        for (int row = boatRow(6); row < boatRow(6) + 4; ++row)   // the early-race block ends the card
            card->engine().grid().setText(row, end, "１２Ｒ３枠");
        using test::keyPopup;
        // The fixed part (sort, add and the racer) and a rate of block 1 (numeric).
        for (const auto &[row, col, key, states] :
             {std::tuple{boatRow(1) + 1, 4, QKeyCombination(Qt::Key_Menu), "++.|.+|+..|+"},
              {boatRow(1), 6, Qt::ShiftModifier | Qt::Key_F10, "+++|++|...|+"}}) {
            test::clickCell(view, row, col);
            bool atCell = false;
            QCOMPARE(keyPopup(view, menu, key, &atCell), QString(states));
            QVERIFY(atCell);
            QVERIFY(rightClick(view, "mnuri", row, col));
            QCOMPARE(test::menuStates(menu), QString(states));
        }
        QCOMPARE(keyPopup(view, menu, Qt::Key_F10), QString());
        // Left from the first block to the third racer's profile, where the
        // racer entry opens his detail.
        test::clickCell(view, boatRow(3) + 1, 6);
        QCOMPARE(test::pressKeys(view, {Qt::Key_Left}), QPoint(4, boatRow(3) + 1));
        QTest::keyClick(view, Qt::Key_Menu);
        for (int i = 0; i < 4; ++i)   // ascending, descending, add, the racer
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        ViewerWindow *racer = lastWindow<ViewerWindow>();
        QCOMPARE(racer->metaObject()->className(), "kelmon::lists::frmracerdisp");
        QCOMPARE(racer->windowTitle(), QString("選手3 選手情報を表示しています..."));
        QCOMPARE(racer->context().tourokuno, QString("4003"));
        frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(card->parentWidget()));
        // The early race of the last boat: hide, add and the race card. A
        // separator (clicked, as no key lands there) carries no item: no menu.
        test::clickCell(view, 33, end);
        QCOMPARE(keyPopup(view, menu, Qt::Key_Menu), QString("...|++|.+.|+"));
        QCOMPARE(card->engine().item_no, 86);
        test::clickCell(view, boatRow(1), 7);
        QCOMPARE(keyPopup(view, menu, Qt::Key_Menu), QString());
        QCOMPARE(card->engine().item_no, 86);
    }

    // Page Down and Page Up, at each height from under one boat to over two,
    // from each row of the second boat, reach the farthest row holding a cell
    // whose span as drawn (separator lines too) fits the page, or the next.
    // Rows are 190 twips, every fifth from row 4 a 10-twip separator; at 15
    // twips a pixel they are drawn 13 px and 1 px.
    void pageKeysCountTheSeparators()
    {
        frmraceinfo *card = openCard();
        GridView *view = card->mfgf_wakus;
        GridModel &grid = card->engine().grid();
        constexpr int col = 6;
        const auto drawn = [](int row) {
            const auto height = [](int r) { return r % 5 == 4 ? 1 : 13; };
            int top = 0;
            for (int r = kHeaderRows; r < row; ++r)
                top += height(r);
            return QRect(0, top, 1, height(row));
        };
        const int header = 4 * 13;
        const int boat = 4 * 13 + 1;
        view->setFocus();
        for (int page = boat - 16; page <= 2 * boat + 2; ++page) {
            // The scroll bars come and go with the height: a few steps to it.
            for (int step = 0; step < 3 && view->viewport()->height() != header + page; ++step)
                view->resize(view->width(), view->height() + header + page - view->viewport()->height());
            QCOMPARE(view->viewport()->height() - header, page);
            for (int from = boatRow(2); from < boatRow(2) + 4; ++from)
                for (const auto &[key, dir] : {std::pair{Qt::Key_PageDown, 1}, {Qt::Key_PageUp, -1}}) {
                    int reached = -1;
                    for (int row = from + dir; row >= kHeaderRows && row < grid.rows(); row += dir) {
                        const int span = dir > 0 ? drawn(row).bottom() - drawn(from).bottom() : drawn(from).top() - drawn(row).top();
                        if (drawn(row).height() > 1 && (reached < 0 || span <= page))
                            reached = row;
                    }
                    grid.setRow(from);
                    grid.setCol(col);
                    QTest::keyClick(view, key);
                    QVERIFY2(grid.row() == reached && test::cellShown(view, grid.row(), col),
                             qPrintable(QString("page %1 from %2 by %3: %4").arg(page).arg(from).arg(dir).arg(grid.row())));
                }
        }
    }

    void sortHideAndAddThroughThePopup()
    {
        const double rates[6] = {5.0, 7.5, 5.0, 3.0, 7.5, 6.0};
        modkelmon::exec("delete from f_wakus");
        for (int f = 1; f <= 6; ++f)
            cardtest::insertBoat(f, {{"syoritu_2k", rates[f - 1]}});
        frmraceinfo *card = openCard();
        rightClickCell(card, boatRow(4), 6);   // item 2 in the fourth boat's row
        item("mnuri", 1)->trigger();
        QCOMPARE(cardtest::drawnFrames(card->grid(), 6), (QList<int>{2, 5, 6, 1, 3, 4}));
        QCOMPARE(card->grid().row(), boatRow(4));
        rightClickCell(card, boatRow(1), 10);   // block 3
        item("mnuri", 4)->trigger();
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->grid().cols(), 45);
        rightClickCell(card, boatRow(1), 8);    // block 2
        addEntry(24)->trigger();       // exhibition times after block 2
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->engine().item_no, 1);
        QCOMPARE(cardtest::drawnFrames(card->grid(), 6), (QList<int>{1, 2, 3, 4, 5, 6}));
        rightClickCell(card, boatRow(1), 6);
        QVERIFY(!addEntry(24)->isEnabled());
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());   // stored only on request
        frame->menus().action("mnudispc")->trigger();
        QCOMPARE(CardLayout::load_m_kanri().codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
    }

    // After another race, a sort, a block added or hidden and a layout command
    // the grid keeps the keyboard and the current cell its racer and block (a
    // sort its place). Blocks are 2 wide (codes 1-3, 5, 12), 3 (4), 14 (22), 24 (11).
    void refillsKeepTheCurrentCellAndTheKeyboard()
    {
        const double rates[6] = {5.0, 7.5, 5.0, 3.0, 7.5, 6.0};
        modkelmon::exec("delete from f_wakus");
        for (int f = 1; f <= 6; ++f)
            cardtest::insertBoat(f, {{"syoritu_2k", rates[f - 1]}});
        for (int f = 1; f <= 4; ++f)   // the next race has four boats
            cardtest::insertBoat(f, {{"racesno", cardtest::kRace + 1}});
        frmraceinfo *card = openCard();
        GridView *view = card->mfgf_wakus;
        GridModel &grid = card->engine().grid();
        // The current cell's column and row, and 1 while the grid has the keyboard.
        const auto state = [&] { return QList<int>{grid.col(), grid.row(), view->hasFocus()}; };
        // Another race keeps the place, or takes the first boat's row where it has no boat.
        test::clickCell(view, boatRow(5) + 2, 13);
        selectRace(card, cardtest::kRace + 1);
        QCOMPARE(state(), (QList<int>{13, boatRow(1), 1}));
        grid.setRow(boatRow(3) + 2);
        selectRace(card, cardtest::kRace);
        QCOMPARE(state(), (QList<int>{13, boatRow(3) + 2, 1}));
        // Sorted by rate, frame 4 goes last; the cell stays fourth, and the keys go on.
        QVERIFY(rightClick(view, "mnuri", boatRow(4), 6));
        item("mnuri", 1)->trigger();
        QCOMPARE(state(), (QList<int>{6, boatRow(4), 1}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(state(), (QList<int>{6, boatRow(3) + 3, 1}));
        // Adding after block 4 (columns 12 to 14) in frame 4's row: frame order again.
        QVERIFY(rightClick(view, "mnuri", boatRow(6) + 1, 12));
        addEntry(24)->trigger();
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 3, 4, 22, 5, 12, 16, 19, 23}));
        QCOMPARE(state(), (QList<int>{12, boatRow(4) + 1, 1}));
        // Hiding block 4 from its second column: the block now in its place (22), at its start.
        QVERIFY(rightClick(view, "mnuri", boatRow(2) + 2, 13));
        item("mnuri", 4)->trigger();
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 3, 22, 5, 12, 16, 19, 23}));
        QCOMPARE(state(), (QList<int>{12, boatRow(2) + 2, 1}));
        // Every block: block 12 moves from column 28 to 60.
        grid.setRow(boatRow(3));
        grid.setCol(29);
        frame->menus().action("mnudispb")->trigger();
        QCOMPARE(state(), (QList<int>{61, boatRow(3), 1}));
    }
};

QTEST_MAIN(TestRaceCardWindow)
#include "tst_frmraceinfo.moc"
