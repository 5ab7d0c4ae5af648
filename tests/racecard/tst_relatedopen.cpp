// From the race card of day 3 of a registered generated meeting, every
// window the card's popup opens: the eight previous-runs panels, the result
// of a day-1 race, the early race's card and the racer detail. Each opens
// with its caption and context fields and shows rows of the database.

#include "app/ui/frmmainmenu.h"
#include "app/ui/viewerwindow.h"
#include "platform/ui/gridview.h"
#include "racecard/cardengine.h"
#include "racedetails/ui/frmzensodisp.h"
#include "racecard/ui/frmraceinfo.h"
#include "registration/registerarchive.h"
#include "samplepaper/samplepaper.h"
#include "support/gridshown.h"
#include "support/testenv.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSqlQuery>
#include <QtTest>

using namespace kelmon;
using namespace kelmon::racecard;

namespace {

constexpr int kVenue = 3;   // 江戸川
const QDate kFirstDay(2026, 11, 1);

// Whether the window shows rows of the database: a grid cell below its fixed
// rows, or the previous-runs panel's description and result cells.
bool showsData(const QWidget *w)
{
    if (const auto *zenso = qobject_cast<const racedetails::frmzensodisp *>(w))
        return !zenso->lblcomment->text().trimmed().isEmpty()
            && std::any_of(zenso->lblcyakucode.begin(), zenso->lblcyakucode.end(),
                           [](const QLabel *l) { return !l->text().trimmed().isEmpty(); })
            == !zenso->lblcomment->text().contains(QStringLiteral("のため"));
    return test::gridShowsData(w);
}

} // namespace

class TestRelatedOpen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void opensFromTheCard_data();
    void opensFromTheCard();

private:
    // The first cell of the card's boats whose item is `item` and whose text
    // satisfies `accept`; (-1, -1) when there is none.
    QPoint cellOf(int item, const std::function<bool(const QString &)> &accept) const;
    ViewerWindow *newestChild() const;

    std::unique_ptr<test::ProgramFolder> folder_;
    std::unique_ptr<frmmainmenu> frame_;
    frmraceinfo *card_ = nullptr;
};

void TestRelatedOpen::initTestCase()
{
    folder_ = std::make_unique<test::ProgramFolder>();
    SamplePaperOptions options;
    options.venue = kVenue;
    options.date = kFirstDay;
    options.day = 1;
    QString error;
    const QStringList names = writeSamplePapers(folder_->file("receive"), options, 3, &error);
    QVERIFY2(names.size() == 3, qPrintable(error));
    for (const QString &name : names) {
        QVERIFY(register_archive(folder_->file("receive/" + name)).registered);
        QFile::remove(folder_->file("receive/" + name));
    }
    frame_ = std::make_unique<frmmainmenu>();
    frame_->resize(1400, 1000);
    frame_->show();
    frame_->firstActivation();
    frame_->mnukyosocodesub_Click(kVenue - 1);   // opens nothing itself: no default venue is set
    frame_->mdiArea()->closeAllSubWindows();
    frame_->mnuraceinfo_Click();
    card_ = qobject_cast<frmraceinfo *>(newestChild());
    QVERIFY(card_);
    card_->activateFirstTime();
    card_->set_allgrid();
    QCOMPARE(card_->context().datescnt, QString("3"));
}

void TestRelatedOpen::cleanupTestCase()
{
    if (frame_)
        frame_->mdiArea()->closeAllSubWindows();
    frame_.reset();
    folder_.reset();
}

ViewerWindow *TestRelatedOpen::newestChild() const
{
    const QList<QMdiSubWindow *> subs = frame_->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    return subs.isEmpty() ? nullptr : qobject_cast<ViewerWindow *>(subs.last()->widget());
}

QPoint TestRelatedOpen::cellOf(int item, const std::function<bool(const QString &)> &accept) const
{
    const GridModel &grid = card_->grid();
    for (int row = 5; row < grid.rows(); ++row)
        for (int col = 0; col < grid.cols(); ++col)
            if (card_->engine().get_cell_item(row, col) == item && accept(grid.text(row, col)))
                return {col, row};
    return {-1, -1};
}

void TestRelatedOpen::opensFromTheCard_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("entry");        // popup entry: 7 racer, 8 race card, 9 result / previous runs
    QTest::addColumn<QString>("window");   // class name of the window opened
    QTest::addColumn<QString>("caption");  // how the caption ends ("" = checked by the row's own rule)
    QTest::addColumn<QString>("flag");

    QTest::newRow("racer detail") << 1 << 7 << "frmracerdisp" << " 選手情報を表示しています..." << "0";
    QTest::newRow("three meetings ago") << 34 << 9 << "frmzensodisp" << " 3場所前の成績を表示しています..." << "1";
    QTest::newRow("two meetings ago") << 35 << 9 << "frmzensodisp" << " 2場所前の成績を表示しています..." << "2";
    QTest::newRow("previous meeting") << 36 << 9 << "frmzensodisp" << " 前走場所の成績を表示しています..." << "3";
    QTest::newRow("last time here") << 37 << 9 << "frmzensodisp" << " 前回当地の成績を表示しています..." << "4";
    QTest::newRow("motor before last") << 51 << 9 << "frmzensodisp" << "号機 前々回の成績を表示しています..." << "5";
    QTest::newRow("motor last") << 52 << 9 << "frmzensodisp" << "号機 前回の成績を表示しています..." << "6";
    QTest::newRow("boat before last") << 62 << 9 << "frmzensodisp" << "号艇 前々回の成績を表示しています..." << "7";
    QTest::newRow("boat last") << 63 << 9 << "frmzensodisp" << "号艇 前回の成績を表示しています..." << "8";
    QTest::newRow("result of day 1") << 64 << 9 << "frmracerest" << "" << "0";
    QTest::newRow("early race") << 86 << 8 << "frmraceinfo" << "" << "0";
}

void TestRelatedOpen::opensFromTheCard()
{
    QFETCH(int, item);
    QFETCH(int, entry);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QString, flag);
    const auto anyText = [](const QString &t) { return !t.trimmed().isEmpty(); };
    const auto raceText = [](const QString &t) { return t.contains(u'R') || t.contains(u'Ｒ'); };
    const QPoint cell = cellOf(item, item == 64 || item == 86 ? std::function<bool(const QString &)>(raceText)
                                                              : std::function<bool(const QString &)>(anyText));
    QVERIFY2(cell.x() >= 0, "the generated card has no such cell");

    for (QMdiSubWindow *sub : frame_->mdiArea()->subWindowList())
        if (sub->widget() == card_)
            frame_->mdiArea()->setActiveSubWindow(sub);
    card_->engine().grid().setRow(cell.y());
    card_->engine().grid().setCol(cell.x());
    card_->mfgf_wakus_MouseDown(cell.y(), cell.x(), Qt::RightButton, QPoint());
    QMenu *popup = frame_->menus().menu("mnuri");
    popup->hide();
    QAction *action = frame_->menus().action(QStringLiteral("mnurisub_%1").arg(entry));
    QVERIFY2(action->isEnabled(), "the popup entry is disabled");
    const int before = int(frame_->mdiArea()->subWindowList().size());
    action->trigger();
    QCOMPARE(int(frame_->mdiArea()->subWindowList().size()), before + 1);
    ViewerWindow *opened = newestChild();
    QVERIFY(opened);
    QVERIFY2(QString(opened->metaObject()->className()).endsWith(window), opened->metaObject()->className());
    const ViewerContext &c = opened->context();
    const ViewerContext &own = card_->context();
    QCOMPARE(c.kyosocode, own.kyosocode);
    QCOMPARE(c.setuscode, own.setuscode);
    QCOMPARE(c.flag, flag);
    if (!caption.isEmpty())
        QVERIFY2(opened->windowTitle().endsWith(caption), qPrintable(opened->windowTitle()));
    const QString cellText = card_->grid().text(cell.y(), cell.x());
    if (item == 1) {
        // The racer of the clicked row: registration number at the head of its profile.
        const int first = cell.y() - cell.y() % 5;
        QCOMPARE(c.tourokuno, QString::number(card_->grid().text(first, 4).left(4).toInt()));
    } else if (item == 64) {
        const QString race = QString::number(cellText.left(cellText.indexOf(u'R')).trimmed().toInt());
        QCOMPARE(c.datescnt, QString("1"));
        QCOMPARE(c.racesno, race);
        QCOMPARE(c.date, QString("20261101"));
        QCOMPARE(opened->windowTitle(),
                 QStringLiteral("レース結果を表示しています...  (江戸川 26/11/01 %1R)").arg(race.toInt(), 2));
    } else if (item == 86) {
        QString digits = cellText.left(cellText.indexOf(u'Ｒ'));
        for (QChar &ch : digits)
            if (ch.unicode() >= 0xFF10 && ch.unicode() <= 0xFF19)
                ch = QChar(ch.unicode() - 0xFF10 + '0');
        QCOMPARE(c.racesno, QString::number(digits.toInt()));
        QCOMPARE(c.datescnt, own.datescnt);
        QCOMPARE(opened->windowTitle(),
                 QStringLiteral("レース情報を表示しています...  (江戸川 26/11/03 %1R)").arg(digits.toInt(), 2));
    } else {
        QVERIFY(c.wakusno.toInt() >= 1 && c.wakusno.toInt() <= 6);
    }
    opened->activateFirstTime();
    QVERIFY(folder_->exits().empty());
    if (item != 1 || !c.tourokuno.isEmpty())
        QVERIFY2(showsData(opened), qPrintable(opened->windowTitle()));
}

QTEST_MAIN(TestRelatedOpen)
#include "tst_relatedopen.moc"
