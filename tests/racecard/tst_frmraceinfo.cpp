// The race card window inside the main window: caption and race selector,
// header and prediction pictures, the outcomes button, two cards with the
// format menu, the popup's states and its commands.

#include "app/ui/frmmainmenu.h"
#include "common/modkelmon.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "platform/ui/gridview.h"
#include "racecard/cardtables.h"
#include "racecard/helpers/cardfixture.h"
#include "racecard/ui/frmraceinfo.h"
#include "racecard/ui/racecardcommands.h"
#include "support/fixtures.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

class PlainViewer : public ViewerWindow {
public:
    void firstActivation() override {}
};

constexpr int kVenue = 12;   // 住之江

} // namespace

class TestRaceCardWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;
    std::unique_ptr<frmmainmenu> frame;
    std::vector<int> exits;

    // Opens a card from the main window's command and shows the race.
    frmraceinfo *openCard(int race = cardtest::kRace)
    {
        frame->mnuraceinfo_Click();
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        auto *card = qobject_cast<frmraceinfo *>(sub->widget());
        frame->mdiArea()->setActiveSubWindow(sub);
        card->activateFirstTime();
        if (race != 1) {
            card->imcracesno->setCurrentIndex(race - 1);
            card->imcracesno_Click();
        }
        return card;
    }

    void activate(QWidget *child)
    {
        for (QMdiSubWindow *sub : frame->mdiArea()->subWindowList())
            if (sub->widget() == child)
                frame->mdiArea()->setActiveSubWindow(sub);
    }

    // A right-click on a cell, through the view when the cell is on screen.
    void rightClick(frmraceinfo *card, int row, int col)
    {
        const QRect rect = card->mfgf_wakus->viewportRect(QRect(col, row, 1, 1));
        if (rect.width() > 0 && rect.height() > 0) {
            QTest::mousePress(card->mfgf_wakus->viewport(), Qt::RightButton, {}, rect.center());
        } else {
            card->engine().grid().setRow(row);
            card->engine().grid().setCol(col);
            card->mfgf_wakus_MouseDown(row, col, Qt::RightButton, QPoint());
        }
    }

    QMenu *popup() const { return frame->menus().menu("mnuri"); }
    QAction *entry(int i) const { return frame->menus().action(QStringLiteral("mnurisub_%1").arg(i)); }
    QAction *addEntry(int i) const { return frame->menus().action(QStringLiteral("mnurisubadd_%1").arg(i)); }
    void closePopup() { popup()->hide(); }

    static QList<int> drawnFrames(frmraceinfo *card)
    {
        QList<int> frames;
        for (int k = 1; k <= card->engine().boatCount(); ++k)
            frames << card->grid().text(boatRow(k), 4).left(4).toInt() - 4000;
        return frames;
    }

private slots:
    void init()
    {
        folder = std::make_unique<cardtest::FixtureFolder>();
        QVERIFY(folder->ok());
        exits.clear();
        modkelmon::set_exit_sink([this](int code) { exits.push_back(code); });
        test::insertPaperDay(kVenue, cardtest::kSetus, cardtest::kDay, "20011225");
        for (int race = 1; race <= 12; ++race) {
            if (race == 11)
                continue;   // a race the paper does not hold
            cardtest::insertRow("f_races", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", race},
                                            {"racesname", QStringLiteral("第%1競走特別選抜戦").arg(race)},
                                            {"time_1", race == 12 ? "0930" : "1527"}});
        }
        cardtest::insertSixBoats();
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1200, 800);
        frame->show();
        frame->mnukyosocodesub_Click(kVenue - 1);
        QVERIFY(frame->menus().action("mnuraceinfo")->isEnabled());
        QVERIFY(frame->menus().button(11)->isEnabled());
    }
    void cleanup()
    {
        frame.reset();
        frmraceinfo::setRelatedWindow(frmraceinfo::Related::Outcomes, {});
        frmraceinfo::setRelatedWindow(frmraceinfo::Related::Predictions, {});
        help::setUrlOpener({});
        modkelmon::set_exit_sink({});
        folder.reset();
    }

    void captionAndSelector()
    {
        frmraceinfo *card = openCard(1);
        QVERIFY(card->isRaceCard());
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25  1R)"));
        QCOMPARE(card->imcracesno->count(), 12);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(card->imcracesno->itemText(i), QString::number(i + 1));
            QCOMPARE(card->imcracesno->itemData(i).toString(), QString("%1R").arg(i + 1, 2, 10, QChar('0')));
            QVERIFY(!card->imcracesno->itemIcon(i).isNull());
        }
        QCOMPARE(card->imcracesno->currentIndex(), 0);
        QCOMPARE(card->context().racesno, QString("1"));
        QCOMPARE(card->lblracesname->text(), QString("第1競走特別選抜"));
        QCOMPARE(card->lblracesname->toolTip(), QString("第1競走特別選抜戦"));
        QCOMPARE(card->lbltime_1->text(), QString("15時27分"));

        // Choosing race 12 replaces the race number at the caption's end.
        card->imcracesno->setCurrentIndex(11);
        card->imcracesno_Click();
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 12R)"));
        QCOMPARE(card->lbltime_1->text(), QString("09時30分"));

        // A race the paper does not hold: the warning, and the header's defaults.
        ScriptedMessages box;
        card->imcracesno->setCurrentIndex(10);
        card->imcracesno_Click();
        QCOMPARE(box.texts(), QStringList{"該当日のデジタル紙面は有りません"});
        QCOMPARE(box.shown()[0].title, QString("警告です..."));
        QCOMPARE(card->lblracesname->text(), QString());
        QCOMPARE(card->lbltime_1->text(), QString("  時  分"));
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 11R)"));
        QVERIFY(exits.empty());
    }

    void selectorKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::newRow("digit") << int(Qt::Key_9) << "9" << 4;
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << 4;
        QTest::newRow("end") << int(Qt::Key_End) << "" << 4;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << "" << 4;
        QTest::newRow("down") << int(Qt::Key_Down) << "" << 5;
        QTest::newRow("up") << int(Qt::Key_Up) << "" << 3;
        QTest::newRow("right") << int(Qt::Key_Right) << "" << 5;
        QTest::newRow("left") << int(Qt::Key_Left) << "" << 3;
    }
    void selectorKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(int, index);
        frmraceinfo *card = openCard(5);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QApplication::sendEvent(card->imcracesno, &press);
        QCOMPARE(card->imcracesno->currentIndex(), index);
        // A change of race by key is a race selection.
        QCOMPARE(card->context().racesno, QString::number(index + 1));
        QVERIFY(card->windowTitle().endsWith(QString("%1R)").arg(index + 1, 2)));
    }

    void outcomesButton_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("withWindow");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("day 1") << 1 << true << false;
        QTest::newRow("day 2") << 2 << true << true;
        QTest::newRow("day 2, window not built") << 2 << false << false;
    }
    void outcomesButton()
    {
        QFETCH(int, day);
        QFETCH(bool, withWindow);
        QFETCH(bool, enabled);
        if (day != cardtest::kDay) {
            test::insertPaperDay(kVenue + 1, 777, day, "20011226");
            frame->mnukyosocodesub_Click(kVenue);
        }
        PlainViewer *opened = nullptr;
        if (withWindow)
            frmraceinfo::setRelatedWindow(frmraceinfo::Related::Outcomes, [&opened] {
                return opened = new PlainViewer;
            });
        ScriptedMessages box;   // the day has no races
        frmraceinfo *card = openCard(day == cardtest::kDay ? 5 : 1);
        QCOMPARE(card->cmddeme->isEnabled(), enabled);
        QVERIFY(!card->cmdyosodisp->isEnabled());
        if (!enabled)
            return;
        card->cmddeme->click();
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), QString("出目を表示しています...  (住之江 01/12/25  5R)"));
        QCOMPARE(opened->context().racesno, QString("5"));
        QCOMPARE(opened->context().setuscode, QString::number(cardtest::kSetus));
        QCOMPARE(opened->context().date, QString("20011225"));
        QCOMPARE(frame->mdiArea()->subWindowList().size(), 2);
    }

    void predictionPictures_data()
    {
        QTest::addColumn<QString>("roles");
        QTest::addColumn<QList<int>>("frames");   // per picture: frame, negative when small, 0 empty
        QTest::newRow("complete") << "134200" << QList<int>{1, 4, -2, -3, 1, 2, -4, -3, 1, 3, -4, -2};
        QTest::newRow("winner only") << "100000" << QList<int>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        QTest::newRow("blank frame keeps its place") << " 1 2  " << QList<int>{2, 4, 0, 0, 2, 0, -4, 0, 2, 0, -4, 0};
        QTest::newRow("short text") << "21" << QList<int>{2, 1, 0, 0, 2, 0, -1, 0, 2, 0, -1, 0};
        QTest::newRow("no prediction") << "" << QList<int>(12, 0);
    }
    void predictionPictures()
    {
        QFETCH(QString, roles);
        QFETCH(QList<int>, frames);
        // Race 4 holds a complete prediction and is shown first, so every
        // picture of the race under test starts from a drawn state.
        cardtest::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                        {"racesno", 4}, {"yosos_1", "432100"}});
        if (!roles.isEmpty())
            cardtest::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", cardtest::kRace}, {"yosos_1", roles}});
        frmraceinfo *card = openCard(4);
        for (QLabel *picture : card->imayn)
            QVERIFY(!picture->pixmap().isNull());
        card->imcracesno->setCurrentIndex(cardtest::kRace - 1);
        card->imcracesno_Click();
        for (int i = 0; i < 12; ++i) {
            const QPixmap shown = card->imayn[std::size_t(i)]->pixmap();
            const int f = frames[i];
            if (f == 0) {
                QVERIFY2(shown.isNull(), qPrintable(QString("picture %1").arg(i)));
                continue;
            }
            const int index = f > 0 ? pictures::frameLarge(f) : pictures::frameSmall(-f);
            QCOMPARE(shown.toImage(), pictures::image(imlraceinfo1, index));
        }
    }

    void twoCardsAndTheFormatMenu()
    {
        QMenu *disp = frame->menus().menu("mnudisp");
        frmraceinfo *first = openCard();
        frmraceinfo *second = openCard();
        QVERIFY(first != second);
        QVERIFY(disp->menuAction()->isVisible());
        QCOMPARE(activeRaceCard(*frame), second);

        frame->menus().action("mnudispb")->trigger();   // all blocks, on the active card only
        QCOMPARE(second->grid().cols(), 150);
        QCOMPARE(first->grid().cols(), 47);
        QCOMPARE(drawnFrames(second), (QList<int>{1, 2, 3, 4, 5, 6}));

        activate(first);
        QCOMPARE(activeRaceCard(*frame), first);
        QVERIFY(disp->menuAction()->isVisible());
        frame->menus().button(20)->trigger();   // the toolbar runs the same command
        QCOMPARE(first->grid().cols(), 150);
        frame->menus().button(19)->trigger();
        QCOMPARE(first->grid().cols(), 47);
        QCOMPARE(second->grid().cols(), 150);

        // Storing makes the active card's layout the one new cards start from.
        activate(second);
        frame->menus().action("mnudispc")->trigger();
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::all());
        frmraceinfo *third = openCard();
        QCOMPARE(third->grid().cols(), 150);

        // Another kind of window: the menu goes, and its commands do nothing.
        auto *other = new PlainViewer;
        frame->openViewer(other, "テスト", ")");
        activate(other);
        QVERIFY(!disp->menuAction()->isVisible());
        QVERIFY(!frame->menus().button(19)->isVisible());
        QVERIFY(!activeRaceCard(*frame));
        mnudispa_Click(*frame);
        mnudispb_Click(*frame);
        QCOMPARE(first->grid().cols(), 47);
        QCOMPARE(second->grid().cols(), 150);
        QVERIFY(exits.empty());

        // Closing a card leaves the menu to whichever child is active next.
        activate(first);
        QVERIFY(disp->menuAction()->isVisible());
        const int open = int(frame->mdiArea()->subWindowList().size());
        frame->mdiArea()->closeActiveSubWindow();
        QTRY_COMPARE(int(frame->mdiArea()->subWindowList().size()), open - 1);
        QCOMPARE(disp->menuAction()->isVisible(), activeRaceCard(*frame) != nullptr);
    }

    void popupStatesFollowTheClickedCard()
    {
        frmraceinfo *full = openCard();
        frame->menus().action("mnudispb")->trigger();
        frmraceinfo *normal = openCard();
        const QList<int> onNormal = {0, 1, 2, 3, 4, 12, 17, 21, 26};   // menus of codes 1,2,3,4,5,12,16,19,23

        rightClick(normal, boatRow(1), 6);   // block 1, win rate: numeric
        QVERIFY(popup()->isVisible());
        QVERIFY(entry(0)->isEnabled() && entry(1)->isEnabled() && entry(2)->isEnabled());
        QVERIFY(entry(4)->isEnabled() && entry(5)->isEnabled() && entry(11)->isEnabled());
        QVERIFY(!entry(7)->isEnabled() && !entry(8)->isEnabled() && !entry(9)->isEnabled());
        for (int m = 0; m < 28; ++m)
            if (!addEntry(m)->isSeparator())
                QCOMPARE(addEntry(m)->isEnabled(), !onNormal.contains(m));
        closePopup();

        activate(full);
        rightClick(full, boatRow(2), 4);     // fixed part
        QVERIFY(popup()->isVisible());
        QVERIFY(!entry(2)->isEnabled() && !entry(4)->isEnabled());
        for (int m = 0; m < 28; ++m)
            if (!addEntry(m)->isSeparator())
                QVERIFY(!addEntry(m)->isEnabled());
        closePopup();

        // Back on the normal card, the add entries are its own again.
        activate(normal);
        rightClick(normal, 0, 7);             // header row of block 1's separator column
        QVERIFY(!popup()->isVisible());
        rightClick(normal, boatRow(3) + 4, 6); // separator row
        QVERIFY(!popup()->isVisible());
        rightClick(normal, 2, 8);             // header cell of block 2
        QVERIFY(popup()->isVisible());
        for (int m = 0; m < 28; ++m)
            if (!addEntry(m)->isSeparator())
                QCOMPARE(addEntry(m)->isEnabled(), !onNormal.contains(m));
        closePopup();
    }

    void earlyRaceOpensItsCard_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("race");   // 0: no race named
        QTest::newRow("race 12") << boatRow(2) << "１２Ｒ３枠" << 12;
        QTest::newRow("race 3") << boatRow(2) << "３Ｒ１枠" << 3;
        QTest::newRow("header row") << 0 << "１２Ｒ３枠" << 0;
        QTest::newRow("no race number") << boatRow(2) << "Ｒ３枠" << 0;
        QTest::newRow("race 13") << boatRow(2) << "１３Ｒ３枠" << 0;
        QTest::newRow("plain text") << boatRow(2) << "本日二回" << 0;
    }
    void earlyRaceOpensItsCard()
    {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, race);
        frmraceinfo *card = openCard();
        const int col = card->engine().layout.rc(card->engine().layout.indexOf(23));
        card->engine().grid().setText(row, col, text);
        rightClick(card, row, col);
        QVERIFY(popup()->isVisible());
        QCOMPARE(entry(8)->isEnabled(), race != 0);
        closePopup();
        const int open = int(frame->mdiArea()->subWindowList().size());
        mnurisub_Click(*frame, 8);
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), open + (race ? 1 : 0));
        if (!race)
            return;
        auto *opened = qobject_cast<frmraceinfo *>(frame->mdiArea()->subWindowList().last()->widget());
        QVERIFY(opened && opened != card);
        QCOMPARE(opened->windowTitle(),
                 QString("レース情報を表示しています...  (住之江 01/12/25 %1R)").arg(race, 2));
        QCOMPARE(opened->context().racesno, QString::number(race));
        QCOMPARE(opened->context().datescnt, QString::number(cardtest::kDay));
    }

    void sortThroughThePopup()
    {
        const double rates[6] = {5.0, 7.5, 5.0, 3.0, 7.5, 6.0};
        modkelmon::exec("delete from f_wakus");
        for (int f = 1; f <= 6; ++f)
            cardtest::insertBoat(f, {{"syoritu_2k", rates[f - 1]}});
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(4), 6);     // item 2 in the fourth boat's row
        closePopup();
        entry(1)->trigger();
        QCOMPARE(drawnFrames(card), (QList<int>{2, 5, 6, 1, 3, 4}));
        QCOMPARE(card->grid().row(), boatRow(4));
        QCOMPARE(card->grid().col(), 6);
        entry(0)->trigger();
        QCOMPARE(drawnFrames(card), (QList<int>{4, 1, 3, 6, 2, 5}));
        QCOMPARE(card->grid().cols(), 47);
        QVERIFY(card->mfgf_wakus->isVisible());
    }

    void hideAndAddBlocks()
    {
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(1), 10);    // block 3
        closePopup();
        entry(4)->trigger();
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->grid().cols(), 45);

        rightClick(card, boatRow(1), 8);     // block 2
        closePopup();
        QVERIFY(addEntry(2)->isEnabled());
        addEntry(24)->trigger();             // 今節の成績(展示タイム) after block 2
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->engine().layout.startColumns(), (QList<int>{6, 8, 10, 24, 27, 29, 31, 33, 57}));
        QCOMPARE(card->engine().item_no, 1);

        // A block already on the card is not added twice.
        rightClick(card, boatRow(1), 6);
        closePopup();
        QVERIFY(!addEntry(24)->isEnabled());
        mnurisubadd_Click(*frame, 24);
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
        // Stored only on request.
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());
    }

    void averageMessage()
    {
        ScriptedMessages box;
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(2) + 3, 6); // item 5: syoritu_ns 5.43 on every boat
        closePopup();
        entry(2)->trigger();
        QCOMPARE(box.shown().size(), std::size_t(1));
        QCOMPARE(box.shown()[0].title, QString("平均値を計算しました..."));
        QCOMPARE(box.shown()[0].text, QString("平均値は 5.43 です...\r\n\r\n合計 32.58    件数 6件"));
    }

    void helpOfTheClickedItem_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("page");
        QTest::newRow("fixed part") << 4 << "topic1010.html";
        QTest::newRow("block 2") << 8 << "topic1030.html";
        QTest::newRow("block 4") << 13 << "topic1050.html";
    }
    void helpOfTheClickedItem()
    {
        QFETCH(int, col);
        QFETCH(QString, page);
        QList<QUrl> opened;
        help::setUrlOpener([&opened](const QUrl &url) {
            opened << url;
            return true;
        });
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(1), col);
        closePopup();
        entry(11)->trigger();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].fileName(), page);
    }

    void databaseFailureEndsThroughTheFatalExit()
    {
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(1), 6);
        closePopup();
        modkelmon::exec("drop table f_wakus");
        ScriptedMessages box;
        entry(0)->trigger();
        QCOMPARE(exits.size(), std::size_t(1));
        QCOMPARE(box.shown().size(), std::size_t(1));
        QCOMPARE(box.shown()[0].kind, ScriptedMessages::Shown::Critical);
        QVERIFY(card->mfgf_wakus->isVisible());
    }
};

QTEST_MAIN(TestRaceCardWindow)
#include "tst_frmraceinfo.moc"
