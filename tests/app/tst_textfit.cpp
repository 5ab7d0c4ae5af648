// Every window and dialog at its default size, on generated papers made
// hostile (values at real papers' lengths, see makeHostile; the
// three-character venue, races 10 to 12, every day of a meeting and so every
// ranking kind of the data room): each label, button, check box, combo box
// (its pictures too) and grid cell holds its text whole in the font it draws
// with, as the grid view draws it, no label lies under another widget, and
// every child window lies inside the workspace; so too the message boxes and
// the splash's texts. One-line labels of a paper's texts hold their font's
// whole line, centred on their boxes.

#include "app/ui/frmkoyomi.h"
#include "app/ui/frmopening.h"
#include "app/ui/frmproperty.h"
#include "app/ui/frmversion.h"
#include "app/ui/viewerfactory.h"
#include "common/modkelmon.h"
#include "download/ui/frmdialoption.h"
#include "download/ui/frmdld.h"
#include "download/ui/frmpass.h"
#include "lists/ui/frmdataroom.h"
#include "platform/fonts.h"
#include "platform/ui/messagebox.h"
#include "racecard/ui/frmraceinfo.h"
#include "racedetails/ui/frmyosodisp.h"
#include "racedetails/ui/startdiagramview.h"
#include "registration/ui/frmdatabase.h"
#include "registration/ui/frmdelete.h"
#include "support/fixtures.h"
#include "support/textfit.h"
#include "support/windowtest.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTabBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace kelmon;

namespace {

constexpr int kVenue = 12;   // 住之江: meeting labels of five characters
constexpr int kDays = 6;

// Values at the lengths real papers hold: racer names of six, five and four
// characters in turn (on the race card eight and seven too), weights with a
// fraction, race names of nine and eight characters, a long meeting title, a
// long notice, seven-digit payouts, a prediction's word and a race
// development with a comma, and the four-character result words of accidents.
void makeHostile()
{
    const QStringList raceNames = {QStringLiteral("ドリーム戦特別選抜"), QStringLiteral("準優勝戦特別選抜戦"),
                                   QStringLiteral("ドリーム戦特別戦")};
    const QString title = QStringLiteral("開設６６周年記念ＧⅠ太閤賞競走　ダイヤモンドカップ");
    const QString notice = QStringLiteral("前検気配上々。エンジン出足型に仕上げ、地元水面で今節こそ優勝を狙う。"
                                          "ペラ調整も順調で好調キープ。");
    const QStringList names = {QStringLiteral("長谷川　真由"), QStringLiteral("長谷川浩二"),
                               QStringLiteral("村上　誠")};
    const QStringList longNames = {QStringLiteral("長谷川　康弘之"), QStringLiteral("勅使河原　健太郎")};
    QSqlQuery tables = modkelmon::exec(QStringLiteral("select name from sqlite_master where type = 'table'"));
    QStringList withNames;
    while (tables.next())
        withNames << tables.value(0).toString();
    for (const QString &table : withNames) {
        QSqlQuery columns = modkelmon::exec(QStringLiteral("pragma table_info(%1)").arg(table));
        while (columns.next()) {
            const QString column = columns.value(1).toString();
            // The values in turn, by row.
            const auto spread = [&](const QStringList &values) {
                for (int i = 0; i < values.size(); ++i)
                    modkelmon::exec(QStringLiteral("update %1 set \"%2\" = ? where rowid % %3 = %4")
                                        .arg(table, column).arg(values.size()).arg(i),
                                    {values[i]});
            };
            if (column.startsWith(QLatin1String("sensyname")))
                spread(table == QLatin1String("f_wakus") ? names + longNames : names);
            // Every weight with a fraction.
            if (column.compare(QLatin1String("Weight"), Qt::CaseInsensitive) == 0)
                modkelmon::exec(QStringLiteral("update %1 set \"%2\" = 55.5").arg(table, column));
            if (column == QLatin1String("racesname"))
                spread(raceNames);
            if (column == QLatin1String("racesword"))
                spread({title});
            if (column == QLatin1String("Memo"))
                spread({notice});
            // Commas reach below the characters.
            if (table == QLatin1String("f_resta") && column == QLatin1String("tenkai"))
                spread({QStringLiteral("③まくり差し,④続く")});
            if (column == QLatin1String("yososword_4"))
                spread({QStringLiteral("イン逃げ,差し")});
            if (table == QLatin1String("f_resta") && column.startsWith(QLatin1String("haikin_")))
                modkelmon::exec(QStringLiteral("update %1 set \"%2\" = 1234560").arg(table, column));
        }
    }
    // Frames 3 to 6 absent, capsized, disqualified and withdrawn in every race.
    const int accidents[] = {14, 7, 11, 15};
    for (int frame = 3; frame <= 6; ++frame)
        modkelmon::exec(QStringLiteral("update f_restb set cyakucode = %1 where wakusno = %2")
                            .arg(accidents[frame - 3]).arg(frame));
}

} // namespace

class TestTextFit : public test::WindowTest {
    Q_OBJECT

    QString setuscode() const
    {
        return modkelmon::scalar(QStringLiteral("select setuscode from f_setfg limit 1")).toString();
    }

    ViewerWindow *open(ViewerKind kind, int day, int race, const QString &wakus = QStringLiteral("1"),
                       const QString &flag = QStringLiteral("1"))
    {
        ViewerWindow *w = createViewer(kind);
        ViewerContext c;
        c.kyosocode = QString::number(kVenue);
        c.setuscode = setuscode();
        c.datescnt = QString::number(day);
        c.date = QDate(2026, 11, day).toString(QStringLiteral("yyyyMMdd"));
        c.racesno = QString::number(race);
        c.wakusno = wakus;
        c.flag = flag;
        c.tourokuno = modkelmon::scalar(QStringLiteral("select tourokuno from f_wakus limit 1")).toString();
        w->setContext(c);
        w->setCaption(QStringLiteral("テキスト"), CaptionTail::DateRace);
        showViewer(frame->mdiArea(), w);
        return lastWindow<ViewerWindow>();
    }

    // The problems of a window; the window's frame must lie inside the
    // workspace.
    void check(QWidget *w, const QString &name)
    {
        QStringList problems = test::windowTextProblems(w, name);
        // The start diagram paints its texts itself.
        for (auto *diagram : w->findChildren<racedetails::StartDiagramView *>())
            problems << test::paintedTextProblems(diagram, name + QStringLiteral("/startdiagram"));
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget())) {
            const QRect area = frame->mdiArea()->viewport()->rect();
            if (!area.contains(sub->geometry()))
                problems << QStringLiteral("%1: window %2,%3 %4x%5 past the workspace's edge")
                                .arg(name).arg(sub->x()).arg(sub->y()).arg(sub->width()).arg(sub->height());
        }
        // KELMON_TEXTFIT_SHOTS=dir keeps a picture of each window checked, to look at.
        if (const QString dir = qEnvironmentVariable("KELMON_TEXTFIT_SHOTS"); !dir.isEmpty()) {
            const QString file = QStringLiteral("%1/%2-%3").arg(dir, name, QString::fromLatin1(QTest::currentDataTag())
                                                                                .replace(u' ', u'_'));
            w->grab().save(file + QStringLiteral(".png"));
            for (const GridView *grid : w->findChildren<GridView *>())
                if (grid->isVisible())
                    grid->renderAll().save(file + u'-' + grid->objectName() + QStringLiteral(".png"));
        }
        report(problems);
    }
    // One warning a problem, so none is cut short; the count fails the test.
    static void report(QStringList problems)
    {
        problems.removeDuplicates();
        for (const QString &p : problems)
            qWarning("%s", qPrintable(p));
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1 texts not readable").arg(problems.size())));
    }

    void closeAll() { frame->mdiArea()->closeAllSubWindows(); }

    // The row in its parent of the lowest pixel of a digit drawn in a label:
    // the baseline it draws its text on.
    static int digitBottom(QLabel *label)
    {
        label->setText(QStringLiteral("1"));
        const QRect ink = test::darkPixels(label->grab().toImage());
        return ink.isEmpty() ? -1 : label->y() + ink.bottom();
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::ProgramFolder>();
        QVERIFY(test::registerSamplePapers(*folder, kVenue, QDate(2026, 11, 1), 1, kDays));
        makeHostile();
        read_m_kanri();
        frame = std::make_unique<frmmainmenu>();
        frame->resize(1280, 1024);
        frame->show();
        frame->mnukyosocodesub_Click(kVenue - 1);
    }
    void cleanupTestCase() { closeMain(); }
    void cleanup() { closeAll(); }

    void mainWindow() { check(frame.get(), QStringLiteral("frmmainmenu")); }

    void raceCard_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("race");
        for (int day : {1, 4, 6})
            for (int race : {1, 10, 11, 12})
                QTest::addRow("day %d race %d", day, race) << day << race;
    }
    void raceCard()
    {
        QFETCH(int, day);
        QFETCH(int, race);
        auto *card = qobject_cast<racecard::frmraceinfo *>(open(ViewerKind::RaceCard, day, race));
        QVERIFY(card);
        check(card, QStringLiteral("frmraceinfo"));
        card->set_allgrid();
        check(card, QStringLiteral("frmraceinfo"));
        // Every cell whole, descenders and brackets too: the g of the
        // weights' ㎏ (profile, previous motor users), the subtitles' brackets.
        report(test::gridFitProblems(card->mfgf_wakus, "frmraceinfo/mfgf_wakus", true));
        // A name of seven characters or more at the largest pixel size of 22,
        // 18, 14 (16.8, 13.8, 10.8 points), 13 ... 9 whose advance in its bold
        // face fits inside the profile column.
        const GridModel &grid = card->grid();
        const int inside = 103 - 1;   // 1540 twips at 15 a pixel, less the grid line
        int longNames = 0;
        for (int row = 6; row <= 31; row += 5) {
            const QString name = grid.text(row, 4);
            if (name.size() < 7)
                continue;
            QFont font = makeFont(QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"), 0, true);
            int px = 22;
            for (; px > 9; px -= px > 14 ? 4 : 1) {
                font.setPixelSize(px);
                if (QFontMetricsF(font).horizontalAdvance(name) <= inside)
                    break;
            }
            QCOMPARE(qRound(grid.fontSize(row, 4) * 96 / 72), px);
            ++longNames;
        }
        QVERIFY(longNames > 0);
    }

    void predictions_data()
    {
        QTest::addColumn<int>("race");
        for (int race : {1, 10, 12})
            QTest::addRow("race %d", race) << race;
    }
    void predictions()
    {
        QFETCH(int, race);
        auto *w = qobject_cast<racedetails::frmyosodisp *>(open(ViewerKind::Predictions, 6, race));
        QVERIFY(w);
        // A window cascaded down to the workspace's bottom: the power-index
        // grid grows it past that edge unless it moves up.
        QWidget *sub = w->parentWidget();
        sub->move(sub->x(), frame->mdiArea()->viewport()->height() - sub->height());
        check(w, QStringLiteral("frmyosodisp"));
        w->cmdpowdisp->click();
        check(w, QStringLiteral("frmyosodisp"));
        // Right of the open grid a margin of 225 twips (15 pixels), not a band.
        const int band = w->width() - w->mfgf_point->geometry().right() - 1;
        QVERIFY2(band >= 0 && band <= 15, qPrintable(QStringLiteral("%1 pixels right of the grid").arg(band)));
    }

    void otherViewers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("race");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QList<int>>("payouts");   // of 2連単 and 3連単; none: the hostile ones
        const std::pair<ViewerKind, const char *> kinds[] = {
            {ViewerKind::Almanac, "almanac"},       {ViewerKind::Outcomes, "outcomes"},
            {ViewerKind::RaceResult, "result"},     {ViewerKind::RacerDetail, "racer"},
            {ViewerKind::RacerList, "racerlist"},   {ViewerKind::MotorList, "motorlist"},
            {ViewerKind::BoatList, "boatlist"},     {ViewerKind::Points, "points"},
        };
        for (const auto &[kind, name] : kinds)
            for (int race : {1, 12})
                QTest::addRow("%s race %d", name, race) << int(kind) << (kind == ViewerKind::RaceResult ? 5 : 6) << race
                                                        << QStringLiteral("1") << QList<int>{};
        // The separators of the payouts that keep the window's own size: the
        // comma reaches below the digits.
        QTest::newRow("result six-digit payouts") << int(ViewerKind::RaceResult) << 5 << 2 << QStringLiteral("1")
                                                  << QList<int>{123450, 999990};
        QTest::newRow("result four-digit payouts") << int(ViewerKind::RaceResult) << 5 << 3 << QStringLiteral("1")
                                                   << QList<int>{1230, 10230};
        for (int flag = 1; flag <= 8; ++flag)
            QTest::addRow("previous runs %d", flag) << int(ViewerKind::PreviousRuns) << 6 << 12
                                                    << QString::number(flag) << QList<int>{};
    }
    void otherViewers()
    {
        QFETCH(int, kind);
        QFETCH(int, day);
        QFETCH(int, race);
        QFETCH(QString, flag);
        QFETCH(QList<int>, payouts);
        if (!payouts.isEmpty())
            modkelmon::exec(QStringLiteral("update f_resta set seiriflag_2t = 0, seiriflag_3t = 0, haikin_2ta = ?, "
                                           "haikin_3ta = ? where datescnt = ? and racesno = ?"),
                            {payouts[0], payouts[1], day, race});
        ViewerWindow *w = open(ViewerKind(kind), day, race, QStringLiteral("6"), flag);
        QVERIFY(w);
        const QString name = QString::fromLatin1(w->metaObject()->className()).section(u':', -1);
        check(w, name);
        // Payouts of up to six digits keep the header's 9 points (12 pixels),
        // their digits level with the bet's caption and 人気 beside them.
        if (payouts.isEmpty())
            return;
        const QList<QLabel *> labels = w->findChildren<QLabel *>();
        for (const QString &bet : {QStringLiteral("2"), QStringLiteral("3")}) {
            auto *payout = w->findChild<QLabel *>(QStringLiteral("lblhaikin_%1ta").arg(bet));
            auto *popularity = w->findChild<QLabel *>(QStringLiteral("lblninkido_%1ta").arg(bet));
            const auto caption = std::find_if(labels.begin(), labels.end(),
                                              [&](QLabel *l) { return l->text() == bet + QStringLiteral("連単"); });
            QVERIFY(payout && popularity && caption != labels.end());
            QCOMPARE(payout->font().pixelSize(), 12);
            const int baseline = digitBottom(payout);
            QCOMPARE(digitBottom(popularity), baseline);
            QCOMPARE(digitBottom(*caption), baseline);
        }
    }

    // A one-line label of a paper's text holds its font's whole line,
    // centred on its box (in twips, 15 to a pixel) within half a pixel.
    void wholeLines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QRect>("box");
        const auto row = [](ViewerKind kind, const char *label, QRect box) {
            QTest::newRow(label) << int(kind) << QString::fromUtf8(label) << box;
        };
        row(ViewerKind::RaceResult, "lblhaikin_2ta", {4320, 720, 810, 180});
        row(ViewerKind::RaceResult, "lblhaikin_3ta", {4320, 960, 810, 180});
        row(ViewerKind::RaceResult, "lbltenkai", {3480, 1320, 2700, 180});
        // The name begins right of the wider selectors; its middle stays.
        row(ViewerKind::RaceResult, "lblracesname", {2640, 180, 3600, 315});
        row(ViewerKind::PreviousRuns, "lblcomment", {120, 120, 4515, 180});
        row(ViewerKind::RacerDetail, "lbltourokuno_x_0", {1800, 435, 720, 315});
        row(ViewerKind::RacerDetail, "lbltourokuno_x_1", {1815, 450, 720, 315});
        row(ViewerKind::RacerDetail, "lblsensyname_x_0", {2745, 420, 1980, 315});
        row(ViewerKind::RacerDetail, "lblsensyname_x_1", {2760, 435, 1980, 315});
        row(ViewerKind::Predictions, "lblyososword_4_0", {120, 1485, 2295, 285});
        row(ViewerKind::Predictions, "lblyososword_4_1", {140, 1500, 2295, 285});
        row(ViewerKind::Predictions, "lblyosos_1_0", {2160, 2220, 990, 180});
        row(ViewerKind::Predictions, "lblsunpyo_0", {3240, 2220, 900, 180});
        row(ViewerKind::Points, "想定ボーダー", {120, 240, 2175, 360});
        row(ViewerKind::Points, "【得点早見表の見方】", {180, 2880, 1620, 180});
    }
    void wholeLines()
    {
        QFETCH(int, kind);
        QFETCH(QString, label);
        QFETCH(QRect, box);
        ViewerWindow *w = open(ViewerKind(kind), ViewerKind(kind) == ViewerKind::RaceResult ? 5 : 6, 1);
        QLabel *l = nullptr;   // by its name, or by its text where it has none
        for (QLabel *candidate : w ? w->findChildren<QLabel *>() : QList<QLabel *>())
            if (candidate->objectName() == label || candidate->text() == label)
                l = candidate;
        QVERIFY(l);
        QVERIFY(l->height() >= QFontMetrics(l->font()).height());
        const double off = l->y() + l->height() / 2.0 - (box.top() + box.height() / 2.0) / 15;
        QVERIFY2(std::abs(off) <= 0.5, qPrintable(QStringLiteral("%1 pixels off its box's centre").arg(off)));
    }

    // Each day of the meeting has its own ranking kind.
    void dataRoom_data()
    {
        QTest::addColumn<int>("day");
        for (int day = 1; day <= kDays; ++day)
            QTest::addRow("day %d", day) << day;
    }
    void dataRoom()
    {
        QFETCH(int, day);
        auto *room = qobject_cast<lists::frmdataroom *>(open(ViewerKind::DataRoom, day, 1));
        QVERIFY(room);
        for (int page = 0; page < room->tab1->count(); ++page) {
            room->tab1->setCurrentIndex(page);
            room->tab1_Click();
            check(room, QStringLiteral("frmdataroom"));
        }
    }

    void dialogs_data()
    {
        QTest::addColumn<int>("which");
        const char *names[] = {"frmproperty", "frmversion", "frmdelete", "frmdatabase",
                               "frmdld",      "frmpass",    "frmdialoption", "frmopening"};
        for (int i = 0; i < int(std::size(names)); ++i)
            QTest::newRow(names[i]) << i;
    }
    void dialogs()
    {
        QFETCH(int, which);
        std::unique_ptr<QWidget> w;
        switch (which) {
        case 0: w = std::make_unique<frmproperty>(frame.get()); break;
        case 1: w = std::make_unique<frmversion>(frame.get()); break;
        case 2: w = std::make_unique<frmdelete>(frame.get()); break;
        case 3: w = std::make_unique<frmdatabase>(frame.get()); break;
        case 4: w = std::make_unique<frmdld>(frame.get()); break;
        case 5: w = std::make_unique<frmpass>(frame.get()); break;
        case 6: w = std::make_unique<frmdialoption>(frame.get()); break;
        default: w = std::make_unique<frmopening>(frame.get()); break;
        }
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        check(w.get(), QString::fromLatin1(w->metaObject()->className()).section(u':', -1));
        w->hide();
    }

    // The message boxes, with a text of several long lines, and the
    // registration's report of twenty archives it could not register.
    void messageBoxes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("question") << QStringLiteral("古いデジタル紙面を削除する必要は有りません\r\n\r\n削除しますか？");
        QStringList failed;
        for (int i = 1; i <= 20; ++i)
            failed << QStringLiteral("デジタル紙面 2611%1l1.lzh を登録できませんでした。\r\n"
                                     "圧縮ファイルが壊れています（CRCエラー）（kelmf%2.txt）")
                          .arg(QString::number(i, 32)).arg(QChar(u'a' + (i % 13)));
        QTest::newRow("twenty broken archives")
            << QStringLiteral("次のデジタル紙面は登録できませんでした\r\nファイルは受信フォルダに残してあります\r\n\r\n")
                   + failed.join(QStringLiteral("\r\n"));
    }
    void messageBoxes()
    {
        QFETCH(QString, text);
        MessageBoxService service(frame.get());
        QStringList problems;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                box = frame->findChild<QMessageBox *>();
            if (box) {
                problems = test::windowTextProblems(box, QStringLiteral("QMessageBox"));
                box->reject();
            } else {
                problems << QStringLiteral("no box");
            }
        });
        service.question(QStringLiteral("古いデジタル紙面を削除しますか？"), text, false);
        report(problems);
    }

    // The splash's texts stand on the sky alone: no wake of a frame colour
    // runs behind them. Its white letters are found as rows of white pixels;
    // behind them only the sky's blues and the letters' white may show.
    void splashTexts()
    {
        frmopening splash(frame.get());
        const QLabel *picture = nullptr;
        for (const QLabel *l : splash.findChildren<QLabel *>())
            if (!l->pixmap().isNull())
                picture = l;
        QVERIFY(picture);
        const QImage image = picture->pixmap().toImage();
        auto white = [](QRgb c) { return qRed(c) > 0xF0 && qGreen(c) > 0xF0 && qBlue(c) > 0xF0; };
        auto sky = [](QRgb c) { return qBlue(c) >= qRed(c) && qBlue(c) >= qGreen(c) && qBlue(c) >= 0x80; };
        // The texts: runs of rows holding white letters in the upper half.
        QList<QRect> lines{QRect()};
        for (int y = 0; y < image.height() / 2; ++y) {
            QRect row;
            for (int x = 0; x < image.width(); ++x)
                if (white(image.pixel(x, y)))
                    row |= QRect(x, y, 1, 1);
            if (row.isNull() && !lines.last().isNull())
                lines << QRect();
            lines.last() |= row;
        }
        lines.removeAll(QRect());
        QCOMPARE(lines.size(), 2);   // the title and the subtitle
        QStringList problems;
        for (const QRect &text : lines)
            for (int y = text.top(); y <= text.bottom(); ++y)
                for (int x = text.left(); x <= text.right(); ++x)
                    if (!sky(image.pixel(x, y)))
                        problems << QStringLiteral("frmopening: %1 behind the text at %2,%3")
                                        .arg(image.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0')).arg(x).arg(y);
        report(problems.mid(0, 10));
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
