// The list windows, the data room, the points table and the racer detail
// inside the main window: their openers, captions and context, and one popup
// path of each.

#include "app/ui/viewerfactory.h"
#include "common/programfolder.h"
#include "lists/helpers/listfixture.h"
#include "lists/ui/frmdataroom.h"
#include "lists/ui/frmracerdisp.h"
#include "lists/ui/frmracerlist.h"
#include "lists/ui/frmtokhmlist.h"
#include "lists/ui/listlabels.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "samplepaper/samplepaper.h"
#include "support/gridshown.h"
#include "support/windowtest.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <cmath>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace kelmon;
using namespace kelmon::lists;

namespace {

constexpr int kVenue = 12;   // 住之江
constexpr int kSetus = 1234;
constexpr int kDay = 2;
const QString kDay1225 = "  (住之江 01/12/25";

void row(const char *table, std::initializer_list<test::Field> fields)
{
    test::insertDayRow(table, kSetus, kDay, fields);
}

// Where the ink of a label's one line ends, in its parent: the line stands
// centred in the label, as a QLabel places it.
int inkBottom(const QLabel *label)
{
    const QFontMetrics metrics(label->font());
    const int lineTop = label->y() + (label->height() - metrics.height()) / 2;
    return lineTop + metrics.ascent() + metrics.tightBoundingRect(label->text()).bottom();
}

// The contrast ratio of two colours (1 for equal ones, 21 for black on white).
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QLabel *labelWithText(const QWidget *window, const QString &text)
{
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->text() == text)
            return label;
    return nullptr;
}

} // namespace

class TestListWindows : public test::WindowTest {
    Q_OBJECT

    frmracerdisp *racerDetail(const QString &tourokuno)
    {
        ViewerWindow *w = createViewer(ViewerKind::RacerDetail);
        ViewerContext c;
        c.setuscode = QString::number(kSetus);
        c.tourokuno = tourokuno;
        w->setContext(c);
        showViewer(frame->mdiArea(), w);
        return lastWindow<frmracerdisp>();
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::ProgramFolder>();
        test::insertPaperDay(kVenue, kSetus, kDay, "20011225");
        row("f_racer", {{"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 5}});
        row("f_racer", {{"tourokuno", 4012}, {"sensyname", "山田太郎"}, {"hayami_1", 2}, {"hayami_2", 11}});
        row("f_motor", {{"motorno", 7}, {"sensyname", "山田太郎"}, {"tourokuno", 4012}});
        row("f_motor", {{"motorno", 8}});
        row("f_boats", {{"boatsno", 41}});
        row("f_lunks", {{"lunkscode", 1}, {"tourokuno", 3100}, {"sensyname", "鈴木一郎"}, {"hayami_1", 11}, {"hayami_2", 3}});
        showMain(kVenue);
    }
    void cleanup() { closeMain(); }

    // A label designed one line high stays one line, widened for a longer
    // text; a taller one wraps within its width.
    void labelsFitTheirText()
    {
        QWidget parent;
        QFont font;
        font.setPixelSize(12);
        const QString text = QStringLiteral("優勝戦出場選手の一覧");
        const QLabel *one = lists::placeLabel(&parent, text, QRect(0, 0, 20, 12), font, {}, {});
        QVERIFY(!one->wordWrap() && one->width() >= QFontMetrics(font).horizontalAdvance(text));
        const QLabel *two = lists::placeLabel(&parent, text, QRect(0, 0, 20, 36), font, {}, {});
        QVERIFY(two->wordWrap() && two->width() == 20);
    }

    // Menu command and toolbar button each open a new window of the day.
    void openers_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("menu");   // the popup menu of its (first) grid
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        QTest::newRow("racers") << "mnuracer" << 14 << "mnurs" << "選手情報を一覧表示しています..." + kDay1225 + ")" << 4;
        QTest::newRow("motors") << "mnumotor" << 15 << "mnumt" << "モーター情報を一覧表示しています..." + kDay1225 + ")" << 3;
        QTest::newRow("boats") << "mnuboats" << 16 << "mnubt" << "ボート情報を一覧表示しています..." + kDay1225 + ")" << 2;
        QTest::newRow("data room") << "mnudataroom" << 17 << "mnul2" << "データルームを表示しています..." + kDay1225 + ")" << 3;
    }
    void openers()
    {
        QFETCH(QString, command);
        QFETCH(int, button);
        QFETCH(QString, menu);
        frame->menus().action(command)->trigger();
        frame->menus().button(button)->trigger();
        QCOMPARE(int(frame->mdiArea()->subWindowList().size()), 2);
        auto *w = lastWindow<ViewerWindow>();
        QTEST(w->windowTitle(), "caption");
        QCOMPARE(w->context().setuscode, QString::number(kSetus));
        QTEST(w->popupGrid(menu)->rows(), "rows");
    }

    // The keys move the racer list's current cell between its two racers,
    // never into the two heading rows or the name column, and End stops
    // before the hidden prefecture code (column 43); the popup then acts on
    // the cell the keys chose.
    void keysMoveTheCurrentCell()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        GridView *view = list->view();
        test::clickCell(view, 2, 1);
        using test::pressKeys;
        QCOMPARE(pressKeys(view, {Qt::Key_Up, Qt::Key_Left}), QPoint(1, 2));
        QCOMPARE(pressKeys(view, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}), QPoint(2, 3));
        QCOMPARE(pressKeys(view, {Qt::Key_End}), QPoint(42, 3));
        QVERIFY(test::cellShown(view, 3, 42));
        QCOMPARE(pressKeys(view, {Qt::Key_Right, Qt::Key_PageUp}), QPoint(42, 2));
        QCOMPARE(pressKeys(view, {Qt::ControlModifier | Qt::Key_Home}), QPoint(1, 2));
        QVERIFY(test::cellShown(view, 2, 1));
        QCOMPARE(pressKeys(view, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}), QPoint(5, 2));
        QVERIFY(!frame->menus().menu("mnurs")->isVisible());
        // A right-click on the row's race cell pops up the menu; its race card
        // item then names the race of the current cell.
        QVERIFY(rightClick(view, "mnurs", 2, 16));
        QCOMPARE(QPoint(list->popupGrid("mnurs")->col(), list->popupGrid("mnurs")->row()), QPoint(16, 2));
    }

    // The race card of a race cell comes from the list's own day, whatever
    // the main window shows by then.
    void racerListRaceCard()
    {
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        QVERIFY(rightClick(list->view(), "mnurs", 2, 16));   // 鈴木一郎: race 5 in the first half
        frame->mnukyosocodesub_Click(0);
        ScriptedMessages box;
        item("mnurs", 5)->trigger();
        auto *card = frame->mdiArea()->subWindowList().last()->widget();
        QCOMPARE(card->objectName(), QString("frmraceinfo"));
        QCOMPARE(card->windowTitle(), "レース情報を表示しています..." + kDay1225 + "  5R)");
    }

    // The tabs switch pages; a semi-final ranking's frame cell opens the race
    // card of the race to its left.
    void dataRoomRaceCard()
    {
        modkelmon::exec("update f_setfg set lunksflag = 3");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        QCOMPARE(room->lbllunks[0]->text(), QString("準優がけ ベスト１２"));
        room->tab1->setCurrentIndex(2);   // a tab shows its own page alone
        QVERIFY(room->fradr[2]->isVisible() && !room->fradr[0]->isVisible());
        room->tab1->setCurrentIndex(0);
        QVERIFY(rightClick(room->mfgdr[0], "mnul2", 2, 9));
        item("mnul2", 5)->trigger();
        auto *card = lastWindow<ViewerWindow>();
        QCOMPARE(card->context().racesno, QString("11"));
        QCOMPARE(card->windowTitle(), "レース情報を表示しています..." + kDay1225 + " 11R)");
    }

    // The points standing's button opens the points table of the room's day.
    void pointsTable()
    {
        row("f_tokhm", {{"tokujun_ks", 1}, {"sensyname", "鈴木一郎"}, {"tokuritu_ks", 6.5}, {"tokhm_k1z1", 7.25}});
        modkelmon::exec("update f_setus set bordrcnt = 6");
        modkelmon::exec("update f_setfg set lunksflag = 2");
        frame->mnudataroom_Click();
        lastWindow<frmdataroom>()->cmdtokhmlist->click();
        auto *points = lastWindow<frmtokhmlist>();
        QVERIFY(points);
        QCOMPARE(points->windowTitle(), "得点早見表を表示しています..." + kDay1225 + ")");
        QCOMPARE(points->context().racesno, QString("1"));
        QCOMPARE(points->lblbordrcnt[0]->text(), QString("6.00"));
        QCOMPARE(points->blocks().text(1, 1), QString("7.25"));

        // The rate and its shadow stand above the legend, the shadow far
        // enough off to be seen beside the rate.
        for (const QLabel *rate : points->lblbordrcnt)
            QVERIFY(inkBottom(rate) < points->mfgsample->y());
        const QPoint shadow = points->lblbordrcnt[1]->pos() - points->lblbordrcnt[0]->pos();
        QVERIFY(shadow.x() >= 2 && shadow.y() >= 2);
        // The italic "!!" leans past its advance; its label holds the ink.
        const QLabel *marks = labelWithText(points, "!!");
        QVERIFY(marks && marks->width() > QFontMetrics(marks->font()).boundingRect("!!").right());
        // The example's labels lie side by side, none over its neighbour.
        const QLabel *example = labelWithText(points, "　例：上表");
        const QLabel *shaded = labelWithText(points, "網かけ部");
        QVERIFY(example && shaded);
        QVERIFY(example->x() + QFontMetrics(example->font()).horizontalAdvance(example->text()) <= shaded->x());
    }

    // Texts the substitute fonts draw wider than the designed ones still fit:
    // the racer list's start timing, a long racer name, the data room's
    // disabled button.
    void textsFit()
    {
        modkelmon::exec("update f_racer set st_ks_avg = 0.19 where tourokuno = 3100");
        modkelmon::exec("update f_setfg set lunksflag = 1");
        frame->mnudataroom_Click();
        auto *room = lastWindow<frmdataroom>();
        frame->mnuracer_Click();
        auto *list = lastWindow<frmracerlist>();
        QCOMPARE(list->grid().text(2, 39), QString("0.19"));
        QVERIFY(QFontMetrics(list->view()->defaultFont()).horizontalAdvance(list->grid().text(2, 39))
                <= twipsToPixels(list->grid().colWidth(39)) - 1);

        QVERIFY(!room->cmdtokhmlist->isEnabled());
        const QPalette &palette = room->cmdtokhmlist->palette();
        QVERIFY(contrast(palette.color(QPalette::Disabled, QPalette::ButtonText),
                         palette.color(QPalette::Disabled, QPalette::Button))
                >= 3);

        row("f_racer", {{"tourokuno", 12}, {"sensyname", "長谷川　真由美"}});
        const QLabel *name = racerDetail("12")->lblsensyname_x[0];
        QVERIFY(name->width() >= QFontMetrics(name->font()).horizontalAdvance(name->text()));
    }

    // The racer detail shows header, photo and results and pops up its menu;
    // without an f_racer row only the number and the header row, and a photo
    // that is no GIF is not shown.
    void racerDetailWindow()
    {
        row("f_racer", {{"tourokuno", 12}, {"sensyname", "佐藤"}, {"tourokuki", 99}, {"adress", 40}});
        test::insertDayRow("f_restb", kSetus, 1, {{"racesno", 4}, {"wakusno", 3}, {"tourokuno", 12}, {"cyakucode", 2}});
        QDir().mkpath(photoFolder());
        for (const auto &[file, content] : {std::pair{"0012.GIF", racerPhotoGif(12)},
                                            std::pair{"0055.gif", QByteArray("\x89PNG\r\n\x1a\n not a gif")}}) {
            QFile photo(QDir(photoFolder()).filePath(file));
            QVERIFY(photo.open(QIODevice::WriteOnly) && photo.write(content) == content.size());
        }
        auto *detail = racerDetail("12");
        QCOMPARE(detail->lblmemo[0]->text(), QString("99期 福岡"));
        QVERIFY(!detail->imaPhoto->pixmap().isNull());
        QCOMPARE(detail->grid().text(1, 3), QString("２着"));
        QVERIFY(rightClick(detail->mfgf_restb, "mnurd", 1, 9));
        QVERIFY(!item("mnurd", 0)->isEnabled());

        detail = racerDetail("55");
        QCOMPARE(detail->lbltourokuno_x[0]->text(), QString("0055"));
        QCOMPARE(detail->lblsensyname_x[0]->text(), QString());
        QCOMPARE(detail->grid().rows(), 1);
        QCOMPARE(detail->grid().text(0, 9), QString("減点"));
        QVERIFY(detail->imaPhoto->pixmap().isNull());
    }

    // A photo is read only from a regular file of at most 1 MiB, a link
    // followed and its target checked alike: a named pipe neither holds the
    // window nor shows, nor does a larger file.
    void racerPhotoOnlyFromARegularFile()
    {
        const QDir photos(photoFolder());
        QVERIFY(QDir().mkpath(photos.path()));
        const QByteArray gif = racerPhotoGif(12);
        const auto put = [&](const char *name, const QByteArray &content) {
            QFile f(photos.filePath(name));
            return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
        };
        const QByteArray pipe = QFile::encodeName(photos.filePath("0077.gif"));
        QVERIFY(put("0012.gif", gif));
        QVERIFY(put("0080.gif", gif + QByteArray((1 << 20) + 1 - gif.size(), '\0')));
        QVERIFY(put("0081.gif", gif + QByteArray((1 << 20) - gif.size(), '\0')));
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        QVERIFY(QFile::link(photos.filePath("0077.gif"), photos.filePath("0078.gif")));
        QVERIFY(QFile::link(photos.filePath("0012.gif"), photos.filePath("0079.gif")));
        // Should a window wait on the pipe, a writer lets it go and says so
        // (opening the writing end succeeds only while a reader waits).
        std::atomic<bool> done{false}, released{false};
        std::thread writer([&] {
            for (int i = 0; i < 300 && !done; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                    released = true;
                    ::close(fd);
                }
            }
        });
        QStringList shown;
        for (const char *number : {"12", "77", "78", "79", "80", "81"})
            shown << QString(number) + (racerDetail(number)->imaPhoto->pixmap().isNull() ? "" : " shown");
        done = true;
        writer.join();
        QVERIFY(!released);
        QCOMPARE(shown, QStringList({"12 shown", "77", "78", "79 shown", "80", "81 shown"}));
    }
};

QTEST_MAIN(TestListWindows)
#include "tst_listwindows.moc"
