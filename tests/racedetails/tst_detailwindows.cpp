// The race result, predictions and outcomes windows inside the main window:
// their openers and captions, selectors, what they show of the paper, the
// items their popups offer and their edge states.

#include "app/ui/gridpopups.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "racecard/ui/frmraceinfo.h"
#include "racedetails/restresult.h"
#include "racedetails/ui/frmdeme.h"
#include "racedetails/ui/frmracerest.h"
#include "racedetails/ui/frmyosodisp.h"
#include "racedetails/ui/frmzensodisp.h"
#include "racedetails/ui/startdiagramview.h"
#include "racedetails/ui/yosodiagram.h"
#include "support/fixtures.h"
#include "support/paintcounter.h"
#include "support/gridshown.h"
#include "support/textfit.h"
#include "support/windowtest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QPushButton>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racedetails;
using test::insertRow;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 24010112;
const QString kResultTitle = QStringLiteral("レース結果を表示しています...");
const QString kYosoTitle = QStringLiteral("レース予想を表示しています...");

// A result of an earlier day: frames 1..6 finish 3, 1, 2, 4, 5 and absent.
void insertResult(int day, int race)
{
    insertRow("f_resta", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race}, {"racesname", "一般戦"},
                          {"Date", QStringLiteral("2024010%1").arg(day)}, {"renban_2ta", "31"},
                          {"haikin_2ta", 500 * day}, {"renban_3ta", "315"}, {"ninkido_3ta", 12},
                          {"ninkido_2ta", 3}, {"kimarite", "まくり"}});
    const int codes[6] = {3, 1, 2, 4, 5, 14};
    for (int f = 1; f <= 6; ++f)
        insertRow("f_restb", {{"setuscode", kSetus}, {"datescnt", day}, {"racesno", race}, {"wakusno", f},
                              {"cyakucode", codes[f - 1]}, {"sinyuno", f == 6 ? 0 : f}, {"starttime", 10 + f},
                              {"tenjitime", f == 6 ? 0.0 : 6.6 + f / 100.0}, {"chilt", 0.5},
                              {"sensyname", QStringLiteral("選手%1").arg(f)}});
}

// The racers of a race of day 4, and its prediction when asked.
void insertRace(int race, bool prediction)
{
    for (int f = 1; f <= 6; ++f)
        insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", 4}, {"racesno", race}, {"wakusno", f},
                              {"tourokuno", 3000 + 10 * race + f}, {"flag_ss", 1},
                              {"sensyname", QStringLiteral("%1R選手%2").arg(race).arg(f)},
                              {"giryosisu", QString::number(10 * f)}});
    if (prediction)
        insertRow("f_yosos", {{"setuscode", kSetus}, {"datescnt", 4}, {"racesno", race}, {"yosos_1", "123456"},
                              {"yosos_2", "123456"}, {"yosos_3", "012012"}, {"Style", "150"},
                              {"sunpyo_1", "出足良"}, {"sunpyo_2", "伸び"}, {"sunpyo_3", "回り足"},
                              {"sunpyo_4", "一息"}, {"sunpyo_5", "普通"}, {"sunpyo_6", "上位"}});
}

template <typename B, typename W> void choose(B *box, int index, W *w, void (W::*click)())
{
    box->setCurrentIndex(index);
    (w->*click)();
}

} // namespace

class TestDetailWindows : public test::WindowTest {
    Q_OBJECT

    template <typename W>
    W *open(ViewerKind kind, const QString &title, const QString &day, const QString &race, const QString &wakus = {},
            const QString &flag = {})
    {
        ViewerWindow *w = createViewer(kind);
        ViewerContext c;
        c.kyosocode = QString::number(kVenue);
        c.setuscode = QString::number(kSetus);
        c.datescnt = day;
        c.date = QStringLiteral("20240104");
        c.racesno = race;
        c.wakusno = wakus;
        c.flag = flag;
        w->setContext(c);
        w->setCaption(title, CaptionTail::DateRace);
        showViewer(frame->mdiArea(), w);
        return lastWindow<W>();
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertPaperDay(kVenue, kSetus, 4, "20240104");
        insertRow("f_races", {{"setuscode", kSetus}, {"datescnt", 4}, {"racesno", 5}});
        for (const auto &[day, race] : {std::pair{1, 5}, {2, 1}, {2, 5}, {3, 5}, {3, 7}})
            insertResult(day, race);
        insertRace(1, true);
        insertRace(5, true);
        insertRace(12, false);
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    // The main window's command opens the first race of the newest earlier
    // day; another race of the day replaces the race only.
    void resultFromTheMainWindow()
    {
        frame->mnuracerest_Click();
        frmracerest *w = lastWindow<frmracerest>();
        QCOMPARE(w->imcdatescnt->currentData().toString(), QStringLiteral("03D"));
        QCOMPARE(w->windowTitle(), kResultTitle + QStringLiteral("  (住之江 24/01/03  5R)"));
        QCOMPARE(w->lblrenban_3ta[2]->text() + w->lblninkido_3ta->text(), QStringLiteral("5人気  12番"));
        QCOMPARE(w->lblhaikin_2ta->text() + w->lblninkido_2ta->text() + w->lblkimarite->text(),
                 QStringLiteral("\u00A5   1,500人気   3番まくり"));
        // At the header's 9 points (12 pixels), its comma whole.
        QCOMPARE(w->lblhaikin_2ta->font().pixelSize(), 12);
        QCOMPARE(w->grid().text(1, ColName), QStringLiteral("選手2"));
        const auto rows = w->diagram->placements();
        QCOMPARE(std::count_if(rows.begin(), rows.end(), [](const auto &row) { return row.has_value(); }), 5);
        choose(w->imcracesno, 6, w, &frmracerest::imcracesno_Click);
        QCOMPARE(w->windowTitle(), kResultTitle + QStringLiteral("  (住之江 24/01/03  7R)"));
        QCOMPARE(w->context().racesno, QStringLiteral("7"));
    }

    // The result words of accidents (four characters and a blank) in the
    // place column of 740 twips, and names of four to six characters in the
    // name column of 880, are drawn whole; the penalty column keeps 1160.
    void resultWordsAndNamesWhole()
    {
        const int codes[] = {1, 2, 14, 7, 11, 15};
        const char *names[] = {"村上　誠", "長谷川浩二", "長谷川　真由", "峰竜太", "長谷川浩二", "長谷川　真由"};
        for (int f = 1; f <= 6; ++f)
            modkelmon::exec(QStringLiteral("update f_restb set cyakucode = ?, sensyname = ? where datescnt = 2 "
                                           "and racesno = 5 and wakusno = ?"),
                            {codes[f - 1], QString::fromUtf8(names[f - 1]), f});
        open<frmracerest>(ViewerKind::RaceResult, kResultTitle, QStringLiteral("2"), QStringLiteral("5"));
        frmracerest *w = lastWindow<frmracerest>();
        QString widthsAndWords = QStringLiteral("%1 %2 %3").arg(w->grid().colWidth(ColResult))
                                     .arg(w->grid().colWidth(ColName)).arg(w->grid().colWidth(ColPenalty));
        for (int r = 3; r <= 6; ++r)
            widthsAndWords += u'|' + w->grid().text(r, ColResult);
        QCOMPARE(widthsAndWords, QStringLiteral("740 880 1160|転覆 外|失格 外|欠場 外|返欠 外"));
        const QStringList problems = test::gridFitProblems(w->mfgf_restb, QStringLiteral("mfgf_restb"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // Names of eight and seven characters, full-width blanks among them, with
    // a mark and a start timing: the start diagram draws each course whole.
    void startDiagramHoldsLongNames()
    {
        const QString names[] = {"勅使河原　健太郎", "長谷川　康弘之", "勅使河原健太郎"};
        for (int f = 1; f <= 5; ++f)
            modkelmon::exec(QStringLiteral("update f_restb set sensyname = ?, yososno = ? where datescnt = 2 "
                                           "and racesno = 5 and wakusno = ?"),
                            {names[f % 3], f, f});
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "2", "5");
        for (int f = 1; f <= 5; ++f)
            QVERIFY(w->diagram->placements()[size_t(f - 1)]->text.endsWith(
                QStringLiteral(" %1 %2").arg(names[f % 3]).arg(10 + f)));
        const QStringList problems = test::paintedTextProblems(w->diagram, QStringLiteral("startdiagram"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // Openers naming a day or a race that the selectors do not offer get the
    // no-result message and a usable, empty window.
    void openerOutsideSelectors()
    {
        for (const auto &[day, race] : {std::pair{"9", "5"}, {"3", "13"}, {"99999999999", "5"}}) {
            ScriptedMessages box;
            frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, day, race);
            QCOMPARE(box.texts(), QStringList{"指定されたレース結果は有りません"});
            QCOMPARE(w->grid().rows(), 1);
            choose(w->imcdatescnt, 2, w, &frmracerest::imcdatescnt_Click);
            choose(w->imcracesno, 4, w, &frmracerest::imcracesno_Click);
            QCOMPARE(w->grid().rows(), 7);
        }
    }

    // Sorting is offered on every column but the name and the penalty, the
    // average on the start timing and the exhibition time only; the
    // exhibition average passes over the absent boat's "-".
    void resultPopup()
    {
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "3", "5");
        for (int col = ColResult; col <= ColPenalty; ++col) {
            QVERIFY(rightClick(w->mfgf_restb, "mnurr", 1, col));
            QCOMPARE(item("mnurr", 1)->isEnabled(), col != ColName && col != ColPenalty);
            QCOMPARE(item("mnurr", 2)->isEnabled(), col == ColStart || col == ColExhibition);
        }
        ScriptedMessages box;
        w->popupGrid(QStringLiteral("mnurr"))->setCol(ColExhibition);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 2);
        // 6.62 + 6.63 + 6.61 + 6.64 + 6.65 over five boats
        QCOMPARE(box.texts(), QStringList{"平均値は 6.63 です...\r\n\r\n合計 33.15    件数 5件"});

        // A sort repaints the view, not only the rows of its model.
        test::PaintCounter painted(w->mfgf_restb->viewport());
        w->popupGrid(QStringLiteral("mnurr"))->setCol(ColFrame);
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 1);
        QCOMPARE(w->grid().text(1, ColFrame), QStringLiteral("6"));
        QCoreApplication::processEvents();
        QVERIFY(painted.paints > 0);
    }

    // The keys keep the current cell below the heading and short of the hidden
    // columns after the penalty; the average takes the column they chose.
    void resultGridKeys()
    {
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "3", "5");
        GridView *view = w->mfgf_restb;
        const int last = w->grid().rows() - 1;
        test::clickCell(view, 1, ColResult);
        using test::pressKeys;
        QCOMPARE(pressKeys(view, {Qt::ControlModifier | Qt::Key_End, Qt::Key_Right}), QPoint(ColPenalty, last));
        QCOMPARE(pressKeys(view, {Qt::Key_Home, Qt::Key_Right, Qt::Key_Up}), QPoint(ColMark, last - 1));
        QCOMPARE(pressKeys(view, {Qt::Key_PageUp, Qt::Key_Up}), QPoint(ColMark, 1));
        QCOMPARE(pressKeys(view, {Qt::Key_End, Qt::Key_Left, Qt::Key_PageDown}), QPoint(ColExhibition, last));
        ScriptedMessages box;
        gridPopup_Click(*frame, QStringLiteral("mnurr"), 2);
        QCOMPARE(box.texts(), QStringList{"平均値は 6.63 です...\r\n\r\n合計 33.15    件数 5件"});
        // The Menu key and Shift+F10 pop up the menu of the cell reached
        // (ascending, descending, average, |, racer): the exhibition is
        // sorted and averaged, the penalty neither.
        QMenu *menu = frame->menus().menu("mnurr");
        QCOMPARE(test::keyPopup(view, menu, Qt::Key_Menu), QString("+++|+"));
        QCOMPARE(pressKeys(view, {Qt::Key_Right}), QPoint(ColPenalty, last));
        QCOMPARE(test::keyPopup(view, menu, Qt::ShiftModifier | Qt::Key_F10), QString("...|+"));
    }

    // The selectors show only their pictures: no dark pixel beside them, in
    // the field or in the open list (but the chosen item, on the highlight).
    void resultSelectorsShowOnlyPictures()
    {
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "3", "11");
        for (QComboBox *combo : {w->imcdatescnt, w->imcracesno}) {
            const auto dark = [beside = combo->iconSize().width() + 6](const QImage &image, const QRect &area) {
                int n = 0;
                for (int y = area.top(); y <= area.bottom(); ++y)
                    for (int x = area.left() + beside; x <= area.right(); ++x)
                        n += QColor(image.pixel(x, y)).value() < 0x60;   // every channel below 0x60
                return n;
            };
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField);
            QCOMPARE(dark(combo->grab().toImage(), field), 0);
            combo->showPopup();
            QAbstractItemView *list = combo->view();
            QTRY_VERIFY(list->isVisible());
            const QImage shown = list->viewport()->grab().toImage();
            for (int i = 0; i < combo->count(); ++i)
                if (i != combo->currentIndex())
                    QCOMPARE(dark(shown, list->visualRect(list->model()->index(i, 0)) & shown.rect()), 0);
            combo->hidePopup();
        }
    }

    // The items' texts change no pixel of the selectors, closed or open:
    // neither on the list's ground nor on the chosen item's highlight; typing
    // a digit still picks its item.
    void resultSelectorsDrawNoTexts()
    {
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "3", "5");
        ScriptedMessages box;   // day 7 has no result
        for (QComboBox *combo : {w->imcdatescnt, w->imcracesno}) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_7);
            QCOMPARE(combo->currentText(), QStringLiteral("7"));
            combo->showPopup();
            QAbstractItemView *list = combo->view();
            QTRY_VERIFY(list->isVisible());
            const QImage field = combo->grab().toImage(), shown = list->viewport()->grab().toImage();
            for (int i = 0; i < combo->count(); ++i)
                combo->setItemText(i, QString());
            QCOMPARE(combo->grab().toImage(), field);
            QCOMPARE(list->viewport()->grab().toImage(), shown);
            combo->hidePopup();
        }
    }

    // The race name's label holds its bold face's whole line: the tails of
    // g, j, p, q and y and the feet of the full-width brackets show.
    void raceNameWhole()
    {
        modkelmon::exec(QStringLiteral("update f_resta set racesname = ? where datescnt = 2 and racesno = 5"),
                        {QStringLiteral("「優勝戦」（gjpqy）")});
        frmracerest *w = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "2", "5");
        QCOMPARE(w->lblracesname->text(), QStringLiteral("「優勝戦」（gjpqy）"));
        const QStringList problems = test::paintedTextProblems(w->lblracesname, QStringLiteral("lblracesname"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // At 800 x 600 the frame shows a scroll bar for each direction in which a
    // window reaches past the workspace; at their start the bars show its
    // top-left corner, at their end its bottom-right one.
    void frameScrollsToAWindowPastItsEdge()
    {
        frame->resize(800, 600);
        frame->mnuracerest_Click();
        QWidget *sub = lastWindow<frmracerest>()->parentWidget();
        QMdiArea *area = frame->mdiArea();
        QScrollBar *bars[2] = {area->horizontalScrollBar(), area->verticalScrollBar()};
        const auto scroll = [&](bool toEnd) { for (QScrollBar *b : bars) b->setValue(toEnd ? b->maximum() : b->minimum()); };
        const QSize space = area->viewport()->size(), room = space - sub->size();
        // Inside, past the bottom, past the right edge, past both, above the top; the bars expected.
        for (const auto &[place, past] : {std::pair{QPoint(0, 0), QPoint(0, 0)},
                                          {QPoint(0, room.height() + 60), QPoint(0, 1)},
                                          {QPoint(room.width() + 60, 0), QPoint(1, 0)},
                                          {QPoint(space.width() - 40, space.height() - 40), QPoint(1, 1)},
                                          {QPoint(0, -60), QPoint(0, 1)}}) {
            sub->move(place);
            QTRY_COMPARE(QPoint(bars[0]->isVisible(), bars[1]->isVisible()), past);
            scroll(true);
            QVERIFY(area->viewport()->rect().contains(sub->geometry().bottomRight()));
            scroll(false);
            QVERIFY(sub->x() >= 0 && sub->y() >= 0);
        }
    }

    // Opened on race 1, the diagrams paint what the panel places (style 150,
    // start-line digits 0, 1, 2 with the boats over their wakes); the caption
    // and the open power-index grid follow the race, one without a
    // prediction included; sorting is offered on the bar columns.
    void predictionsFromTheMainWindow()
    {
        frame->mnuraceyoso_Click();
        frmyosodisp *w = lastWindow<frmyosodisp>();
        QCOMPARE(w->windowTitle(), kYosoTitle + QStringLiteral("  (住之江 24/01/04  1R)"));
        QCOMPARE(w->lblyosos_1[2]->text(), QStringLiteral("× 1R選手"));
        // The formation of style 150 (first group of one, the rest last); on the
        // start line the wakes first, then the boats, then the frame marks.
        const QVector<YosoPlacement> formation = w->formation->shown(), line = w->startLine->shown();
        QCOMPARE(formation.size(), 6);
        QCOMPARE(formation[0], (YosoPlacement{{imlyosodisp1, 1}, 1200, 2100}));
        QCOMPARE(formation[5], (YosoPlacement{{imlyosodisp1, 6}, 240, 2100 + 5 * 240}));
        QCOMPARE(line.size(), 18);
        QCOMPARE(line[1], (YosoPlacement{{imlyosodisp1, 8}, 3720, 2140 + 240}));
        QCOMPARE(line[8], (YosoPlacement{{imlyosodisp1, 3}, 4920, 2100 + 480}));
        QCOMPARE(line[17].picture, (GridPicture{imlyosodisp1, 21}));

        QString comments;
        for (const QLabel *l : w->lblsunpyo)
            comments += l->text();
        QCOMPARE(comments, QStringLiteral("出足良伸び回り足一息普通上位"));

        w->cmdpowdisp->click();
        QVERIFY(w->mfgf_point->isVisible());
        choose(w->imcracesno, 11, w, &frmyosodisp::imcracesno_Click);   // no prediction row
        QCOMPARE(w->windowTitle(), kYosoTitle + QStringLiteral("  (住之江 24/01/04 12R)"));
        QVERIFY(w->formation->shown().isEmpty() && w->startLine->shown().isEmpty());
        QVERIFY(std::all_of(w->lblsunpyo.begin(), w->lblsunpyo.end(), [](const QLabel *l) { return l->text().isEmpty(); }));
        QCOMPARE(w->powerGrid().text(1, 0) + w->powerGrid().text(1, 9), QStringLiteral("12R選3121"));

        // Descending by the first index: frame 6 (60) comes first.
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 0));
        QVERIFY(!item("mnury", 1)->isEnabled());
        // The same by the keyboard (ascending, descending, |, racer).
        test::clickCell(w->mfgf_point, 2, 1);
        QCOMPARE(test::keyPopup(w->mfgf_point, frame->menus().menu("mnury"), Qt::Key_Menu), QString("++|+"));
        QTest::keyClick(w->mfgf_point, Qt::Key_Left, Qt::KeypadModifier);
        QCOMPARE(test::keyPopup(w->mfgf_point, frame->menus().menu("mnury"), Qt::ShiftModifier | Qt::Key_F10),
                 QString("..|+"));
        QVERIFY(rightClick(w->mfgf_point, "mnury", 2, 1));
        item("mnury", 1)->trigger();
        QCOMPARE(w->powerGrid().text(1, 10), QString("6"));
        QCOMPARE(w->cmdpowdisp->text(), QStringLiteral("戦力指数を閉じる(&X)"));
        w->cmdpowdisp->click();
        QVERIFY(!w->mfgf_point->isVisible() && w->cmdpowdisp->text() == QStringLiteral("戦力指数を表示(&O)"));
        // A race outside the selector shows the first race.
        w = open<frmyosodisp>(ViewerKind::Predictions, kYosoTitle, "4", "13");
        QCOMPARE(w->windowTitle(), kYosoTitle + QStringLiteral("  (住之江 24/01/04  1R)"));
    }

    // Maximized or minimized, the window keeps its state and size while the
    // power-index grid opens or closes; restored, it takes the grid's height
    // (6510 twips open, 4665 closed), also when it was minimized from
    // maximized after the grid changed.
    void predictionsHeightWaitsForRestore()
    {
        frame->mnuraceyoso_Click();
        frmyosodisp *w = lastWindow<frmyosodisp>();
        auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        QCOMPARE(w->height(), 311);
        const auto enter = [sub](Qt::WindowState state) {
            state == Qt::WindowMaximized ? sub->showMaximized() : sub->showMinimized();
            return QTest::qWaitFor([&] { return bool(sub->windowState() & state); });
        };
        // The state the grid opens or closes in, the state entered next, the
        // height once restored.
        const struct { Qt::WindowState state, then; int restored; } steps[] = {
            {Qt::WindowMaximized, Qt::WindowMaximized, 434}, {Qt::WindowMaximized, Qt::WindowMaximized, 311},
            {Qt::WindowMinimized, Qt::WindowMinimized, 434}, {Qt::WindowMinimized, Qt::WindowMinimized, 311},
            {Qt::WindowMaximized, Qt::WindowMinimized, 434},
        };
        for (const auto &step : steps) {
            QVERIFY(enter(step.state));
            const QRect held = sub->geometry();
            w->cmdpowdisp->click();
            QVERIFY(sub->windowState() & step.state);
            QCOMPARE(sub->geometry(), held);
            QVERIFY(enter(step.then));
            sub->showNormal();
            QTRY_COMPARE(w->height(), step.restored);
            QVERIFY(!(sub->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)));
        }
    }

    // The race card's button opens the outcomes window for the card's race;
    // it offers the average on payouts and popularity only.
    void outcomesFromTheRaceCard()
    {
        frame->mnuraceinfo_Click();
        auto *card = lastWindow<racecard::frmraceinfo>();
        choose(card->imcracesno, 4, card, &racecard::frmraceinfo::imcracesno_Click);
        card->cmddeme->click();
        frmdeme *deme = lastWindow<frmdeme>();
        QCOMPARE(deme->windowTitle(), QStringLiteral("出目を表示しています...  (住之江 24/01/04  5R)"));
        QCOMPARE(deme->grid().rows(), 4);
        QCOMPARE(deme->grid().text(2, 3), QStringLiteral("  1,000"));
        for (int col = 0; col < 8; ++col) {
            QVERIFY(rightClick(deme->mfgf_resta, "mnudm", 2, col));
            QCOMPARE(item("mnudm", 2)->isEnabled(), col == 3 || col == 4 || col == 6 || col == 7);
        }
        // The same by the keyboard (ascending, descending, average, |, result).
        test::clickCell(deme->mfgf_resta, 2, 2);
        QCOMPARE(test::keyPopup(deme->mfgf_resta, frame->menus().menu("mnudm"), Qt::Key_Menu), QString("++.|+"));
        QTest::keyClick(deme->mfgf_resta, Qt::Key_Right, Qt::KeypadModifier);
        QCOMPARE(test::keyPopup(deme->mfgf_resta, frame->menus().menu("mnudm"), Qt::ShiftModifier | Qt::Key_F10),
                 QString("+++|+"));
        // Day 1 has no earlier results: the header only and no menu.
        auto *first = open<frmdeme>(ViewerKind::Outcomes, QStringLiteral("出目"), "1", "5");
        QCOMPARE(first->grid().rows(), 1);
        QVERIFY(!rightClick(first->mfgf_resta, "mnudm", 0, 3));
    }

    // A right-click on the heading row keeps the current data row and makes
    // the heading's column current: the menu is that cell's, a sort or
    // average takes the column, the racer or race result command the row.
    // The last data row is current before the first click, which makes the
    // first data row current as any other.
    // Day 3 race 5: frame 2 won, frame 3 came second; the outcomes' rows are
    // days 1, 2 and 3; the power indices of race 1 list frames 1..6.
    void headingRightClick_data()
    {
        QTest::addColumn<int>("window");      // 0 result, 1 outcomes, 2 power indices
        QTest::addColumn<QPoint>("chosen");   // x = col, y = row: the cell clicked first
        QTest::addColumn<int>("heading");     // the heading cell right-clicked
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("opened");  // for a racer or race result command
        QTest::newRow("result") << 0 << QPoint(ColExhibition, 2) << int(ColName) << "...|+" << 4
                                << "frmracerdisp 3 5 4003";
        QTest::newRow("result 展示 average") << 0 << QPoint(ColFrame, 2) << int(ColExhibition) << "+++|+" << 2 << "";
        QTest::newRow("result winner") << 0 << QPoint(ColExhibition, 1) << int(ColName) << "...|+" << 4
                                       << "frmracerdisp 3 5 4002";
        QTest::newRow("outcomes") << 1 << QPoint(2, 2) << 3 << "+++|+" << 4 << "frmracerest 2 5 20240102";
        QTest::newRow("outcomes descending") << 1 << QPoint(2, 2) << 3 << "+++|+" << 1 << "";
        QTest::newRow("outcomes day 1") << 1 << QPoint(2, 1) << 3 << "+++|+" << 4 << "frmracerest 1 5 20240101";
        QTest::newRow("power indices") << 2 << QPoint(0, 3) << 2 << "++|+" << 3 << "frmracerdisp 4 1 3013";
        QTest::newRow("power indices frame 1") << 2 << QPoint(0, 1) << 2 << "++|+" << 3 << "frmracerdisp 4 1 3011";
    }
    void headingRightClick()
    {
        QFETCH(int, window);
        QFETCH(QPoint, chosen);
        QFETCH(int, heading);
        QFETCH(int, command);
        modkelmon::exec("update f_restb set tourokuno = 4000 + wakusno");
        GridView *view = nullptr;
        if (window == 0) {
            view = open<frmracerest>(ViewerKind::RaceResult, kResultTitle, "3", "5")->mfgf_restb;
        } else if (window == 1) {
            view = open<frmdeme>(ViewerKind::Outcomes, QStringLiteral("出目"), "4", "5")->mfgf_resta;
        } else {
            frmyosodisp *w = open<frmyosodisp>(ViewerKind::Predictions, kYosoTitle, "4", "1");
            w->cmdpowdisp->click();
            view = w->mfgf_point;
        }
        const QString menu = QStringList{"mnurr", "mnudm", "mnury"}[window];
        view->model()->setRow(view->model()->rows() - 1);
        test::clickCell(view, chosen.y(), chosen.x());
        QVERIFY(rightClick(view, menu, 0, heading));
        QCOMPARE(QPoint(view->model()->col(), view->model()->row()), QPoint(heading, chosen.y()));
        QTEST(test::menuStates(frame->menus().menu(menu)), "items");
        ScriptedMessages box;
        if (command <= 2) {
            const auto [shown, expected] =
                test::runColumnCommand(item(menu, command), command, *view->model(), heading, box);
            QCOMPARE(shown, expected);
        } else {
            item(menu, command)->trigger();
            QTEST(test::openedFor(lastWindow<ViewerWindow>()), "opened");
        }
    }

    // The previous runs of frame 3 on its last meeting and its motor's last
    // user; no row for the slot, or a panel beyond 1..8, shows nothing.
    void previousRuns()
    {
        insertRow("f_wakus", {{"setuscode", kSetus}, {"datescnt", 2}, {"racesno", 4}, {"wakusno", 3},
                              {"seiseki_z1", "303"}, {"gradecode_z1", 1}, {"racesdisp_z1", "桐生　一般"},
                              {"seiseki_m1", "106"}, {"tourokuno_m1", 4001}, {"sensyname_m1", "鈴木"}});
        const QString cases[4][5] = {{"3", "3", "３着", "c0c0ff", "一般 桐生一般 "}, {"3", "6", "６着", "ffffff", "鈴木 級 0㎏  "},
                                     {"7", "3", "", "", ""}, {"3", "99999999", "", "", ""}};
        const auto shown = [](const QLabel *l) {
            const QRgb back = l->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
            return l->text() + u'@' + (l->autoFillBackground() ? QString::number(back, 16) : QString());
        };
        ScriptedMessages box;
        for (const auto &[frameNo, flag, result, color, comment] : cases) {
            auto *w = open<frmzensodisp>(ViewerKind::PreviousRuns, "前走", "2", "4", frameNo, flag);
            QCOMPARE(w->lblcomment->text() + shown(w->lblcyakucode[0]) + shown(w->lblcyakucode[1]), comment + result + '@' + color + '@');
            // Two runs a day side by side, one day a line.
            QVERIFY(w->lblcyakucode[1]->x() > w->lblcyakucode[0]->x() && w->lblcyakucode[2]->y() > w->lblcyakucode[1]->y());
            QStringList legend;
            for (const QLabel *l : w->legend)
                legend << shown(l);
            QCOMPARE(legend.join(u'|'), QStringLiteral("予選一般@ffffff|ドリーム@ffc0c0|準 優 戦@c0c0ff|選 抜 戦@e0e0e0|優 勝 戦@c0ffc0"));
        }
        QVERIFY(box.texts().isEmpty());
    }
};

QTEST_MAIN(TestDetailWindows)
#include "tst_detailwindows.moc"
