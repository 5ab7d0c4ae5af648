// The race card window inside the main window: caption and race selector,
// prediction pictures, two cards with the format menu, and the popup.

#include "app/ui/frmmainmenu.h"
#include "app/ui/viewerfactory.h"
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
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

class PlainViewer : public ViewerWindow {
public:
    void firstActivation() override {}
};

constexpr int kVenue = 12;   // 住之江
const QList<int> kNormalMenus = {0, 1, 2, 3, 4, 12, 17, 21, 26};   // add entries of the normal blocks

} // namespace

class TestRaceCardWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<cardtest::FixtureFolder> folder;
    std::unique_ptr<frmmainmenu> frame;

    // Opens a card from the main window's command and shows the race.
    frmraceinfo *openCard(int race = cardtest::kRace)
    {
        frame->mnuraceinfo_Click();
        QMdiSubWindow *sub = frame->mdiArea()->subWindowList().last();
        auto *card = qobject_cast<frmraceinfo *>(sub->widget());
        frame->mdiArea()->setActiveSubWindow(sub);
        card->activateFirstTime();
        selectRace(card, race);
        return card;
    }
    static void selectRace(frmraceinfo *card, int race)
    {
        card->imcracesno->setCurrentIndex(race - 1);
        card->imcracesno_Click();
    }

    void activate(QWidget *child)
    {
        for (QMdiSubWindow *sub : frame->mdiArea()->subWindowList())
            if (sub->widget() == child)
                frame->mdiArea()->setActiveSubWindow(sub);
    }

    // A right-click on a cell, through the view when the cell is on screen;
    // the popup is closed again, its entries keep their states.
    bool rightClick(frmraceinfo *card, int row, int col)
    {
        const QRect rect = card->mfgf_wakus->viewportRect(QRect(col, row, 1, 1));
        if (rect.isValid()) {
            QTest::mousePress(card->mfgf_wakus->viewport(), Qt::RightButton, {}, rect.center());
        } else {
            card->engine().grid().setRow(row);
            card->engine().grid().setCol(col);
            card->mfgf_wakus_MouseDown(row, col, Qt::RightButton, QPoint());
        }
        const bool shown = popup()->isVisible();
        popup()->hide();
        return shown;
    }

    QMenu *popup() const { return frame->menus().menu("mnuri"); }
    QAction *entry(int i) const { return frame->menus().action(QStringLiteral("mnurisub_%1").arg(i)); }
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
        folder = std::make_unique<cardtest::FixtureFolder>();
        test::insertPaperDay(kVenue, cardtest::kSetus, cardtest::kDay, "20011225");
        for (int race = 1; race <= 12; ++race) {
            if (race == 11)
                continue;   // a race the paper does not hold
            cardtest::insertRow("f_races", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", race},
                                            {"racesname", QStringLiteral("第%1競走特別選抜戦").arg(race)},
                                            {"time_1", "1527"}});
        }
        cardtest::insertSixBoats();
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1200, 800);
        frame->show();
        frame->mnukyosocodesub_Click(kVenue - 1);
    }
    void cleanup()
    {
        frame.reset();
        QVERIFY(folder->exits().empty());
        folder.reset();
    }

    void captionAndSelector()
    {
        frmraceinfo *card = openCard(1);
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25  1R)"));
        QCOMPARE(card->imcracesno->count(), 12);
        QCOMPARE(card->lblracesname->text(), QString("第1競走特別選抜"));
        QCOMPARE(card->lbltime_1->text(), QString("15時27分"));
        selectRace(card, 12);
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 12R)"));
        QCOMPARE(card->context().racesno, QString("12"));

        // A race the paper does not hold: the warning, and an empty header.
        ScriptedMessages box;
        selectRace(card, 11);
        QCOMPARE(box.texts(), QStringList{"該当日のデジタル紙面は有りません"});
        QCOMPARE(card->lblracesname->text(), QString());
        QCOMPARE(card->windowTitle(), QString("レース情報を表示しています...  (住之江 01/12/25 11R)"));
    }

    // After the meeting is deleted under an open card, no race shows another
    // race's boats, not even while the warning for the missing race is on
    // screen: a race without rows empties the grid.
    void deletedMeetingLeavesNoStaleRows()
    {
        frmraceinfo *card = openCard(cardtest::kRace);
        GridModel &grid = card->engine().grid();
        QVERIFY(!grid.text(boatRow(1), 4).isEmpty());
        for (const char *table : {"f_setus", "f_setfg", "f_races", "f_wakus", "f_yosos"})
            modkelmon::exec(QStringLiteral("delete from %1 where setuscode = ?").arg(QLatin1String(table)), {cardtest::kSetus});

        auto boatTexts = [&grid] {
            QStringList texts;
            for (int k = 1; k <= 6; ++k)
                for (int c = 0; c < grid.cols(); ++c)
                    for (int r = boatRow(k); r < boatRow(k) + 4; ++r)
                        if (!grid.text(r, c).isEmpty())
                            texts << grid.text(r, c);
            return texts;
        };
        struct Watch : ScriptedMessages {
            std::function<void()> onShow;
            void information(const QString &title, const QString &text) override
            {
                onShow();
                ScriptedMessages::information(title, text);
            }
        } box;
        for (int race : {cardtest::kRace + 1, cardtest::kRace}) {
            QStringList whileShown;
            QString captionWhileShown;
            box.onShow = [&] {
                whileShown = boatTexts();
                captionWhileShown = card->windowTitle();
            };
            selectRace(card, race);
            QCOMPARE(box.texts().size(), race == cardtest::kRace ? 2 : 1);
            QVERIFY(captionWhileShown.endsWith(QStringLiteral("%1R)").arg(race)));
            QCOMPARE(whileShown, QStringList());
            QCOMPARE(boatTexts(), QStringList());
            QCOMPARE(card->lblracesname->text(), QString());
        }
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
        cardtest::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                        {"racesno", 4}, {"yosos_1", "432100"}});
        if (!roles.isEmpty())
            cardtest::insertRow("f_yosos", {{"setuscode", cardtest::kSetus}, {"datescnt", cardtest::kDay},
                                            {"racesno", cardtest::kRace}, {"yosos_1", roles}});
        frmraceinfo *card = openCard(4);
        selectRace(card, cardtest::kRace);
        for (int i = 0; i < 12; ++i) {
            const QPixmap shown = card->imayn[std::size_t(i)]->pixmap();
            const int f = frames[i];
            if (f == 0)
                QVERIFY2(shown.isNull(), qPrintable(QString("picture %1").arg(i)));
            else
                QCOMPARE(shown.toImage(),
                         pictures::image(imlraceinfo1, f > 0 ? pictures::frameLarge(f) : pictures::frameSmall(-f)));
        }
    }

    // The format menu acts on the active card only, and on nothing when the
    // active child is another kind of window.
    void twoCardsAndTheFormatMenu()
    {
        QMenu *disp = frame->menus().menu("mnudisp");
        frmraceinfo *first = openCard();
        frmraceinfo *second = openCard();
        frame->menus().action("mnudispb")->trigger();   // all blocks
        QCOMPARE(second->grid().cols(), 150);
        QCOMPARE(first->grid().cols(), 47);

        activate(first);
        frame->menus().button(20)->trigger();
        QCOMPARE(first->grid().cols(), 150);
        frame->menus().button(19)->trigger();
        QCOMPARE(first->grid().cols(), 47);
        QCOMPARE(second->grid().cols(), 150);

        auto *other = new PlainViewer;
        showViewer(frame->mdiArea(), other);
        activate(other);
        QVERIFY(!disp->menuAction()->isVisible());
        QVERIFY(!activeRaceCard(*frame));
        mnudispa_Click(*frame);
        mnudispb_Click(*frame);
        QCOMPARE(first->grid().cols(), 47);
        QCOMPARE(second->grid().cols(), 150);
    }

    // The add entries are those of the card clicked, not of another card;
    // header cells of separators and separator rows open no popup.
    void popupStatesFollowTheClickedCard()
    {
        frmraceinfo *full = openCard();
        frame->menus().action("mnudispb")->trigger();
        frmraceinfo *normal = openCard();
        QVERIFY(rightClick(normal, boatRow(1), 6));
        QCOMPARE(enabledAddEntries().size(), 24 - 9);
        for (int m : kNormalMenus)
            QVERIFY(!addEntry(m)->isEnabled());

        activate(full);
        QVERIFY(rightClick(full, boatRow(2), 4));
        QVERIFY(enabledAddEntries().isEmpty());

        activate(normal);
        QVERIFY(!rightClick(normal, 0, 7));
        QVERIFY(!rightClick(normal, boatRow(3) + 4, 6));
        QVERIFY(rightClick(normal, 2, 8));
        QCOMPARE(enabledAddEntries().size(), 24 - 9);
    }

    void earlyRaceOpensItsCard_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("race");   // 0: no race named
        QTest::newRow("boat row") << boatRow(2) << 12;
        QTest::newRow("header row") << 0 << 0;
    }
    void earlyRaceOpensItsCard()
    {
        QFETCH(int, row);
        QFETCH(int, race);
        frmraceinfo *card = openCard();
        const int col = card->engine().layout.rc(card->engine().layout.indexOf(23));
        card->engine().grid().setText(row, col, "１２Ｒ３枠");
        QVERIFY(rightClick(card, row, col));
        QCOMPARE(entry(8)->isEnabled(), race != 0);
        const int open = int(frame->mdiArea()->subWindowList().size());
        mnurisub_Click(*frame, 8);
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), open + (race ? 1 : 0));
        if (race) {
            auto *opened = qobject_cast<frmraceinfo *>(frame->mdiArea()->subWindowList().last()->widget());
            QCOMPARE(opened->context().racesno, QString::number(race));
        }
    }

    void sortHideAndAddThroughThePopup()
    {
        const double rates[6] = {5.0, 7.5, 5.0, 3.0, 7.5, 6.0};
        modkelmon::exec("delete from f_wakus");
        for (int f = 1; f <= 6; ++f)
            cardtest::insertBoat(f, {{"syoritu_2k", rates[f - 1]}});
        frmraceinfo *card = openCard();
        rightClick(card, boatRow(4), 6);   // item 2 in the fourth boat's row
        entry(1)->trigger();
        QCOMPARE(cardtest::drawnFrames(card->grid(), 6), (QList<int>{2, 5, 6, 1, 3, 4}));
        QCOMPARE(card->grid().row(), boatRow(4));

        rightClick(card, boatRow(1), 10);   // block 3
        entry(4)->trigger();
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->grid().cols(), 45);

        rightClick(card, boatRow(1), 8);    // block 2
        addEntry(24)->trigger();            // exhibition times after block 2
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(card->engine().item_no, 1);
        QCOMPARE(cardtest::drawnFrames(card->grid(), 6), (QList<int>{1, 2, 3, 4, 5, 6}));

        rightClick(card, boatRow(1), 6);
        QVERIFY(!addEntry(24)->isEnabled());
        mnurisubadd_Click(*frame, 24);
        QCOMPARE(card->engine().layout.codes(), (QList<int>{1, 2, 22, 4, 5, 12, 16, 19, 23}));
        QCOMPARE(CardLayout::load_m_kanri(), CardLayout::normal());   // stored only on request
    }
};

QTEST_MAIN(TestRaceCardWindow)
#include "tst_frmraceinfo.moc"
