// The almanac: its fields from f_setus and f_setfg, and the window.

#include "app/koyomi.h"
#include "app/ui/frmkoyomi.h"
#include "common/modkelmon.h"
#include "support/testenv.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace kelmon;

namespace {

constexpr int kVenue = 9;
constexpr qlonglong kMeeting = 2001122501;
constexpr int kDay = 2;

void insertMeeting(const QVariant &yusyuflag)
{
    modkelmon::exec(QStringLiteral("insert into f_setus values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {kMeeting, kVenue, "20011224", "テスト杯", "", 6, 1, 6.5, yusyuflag});
}

void insertDay(const QString &time08, const QString &time10, int mtnew, int btnew)
{
    modkelmon::exec(QStringLiteral("insert into f_setfg values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {kVenue, kMeeting, kDay, "20011225", "一白", "大安", "甲", "子", time08, time10, mtnew, btnew, 1});
}

} // namespace

class TestFrmkoyomi : public test::DatabaseTest {
    Q_OBJECT

private slots:
    // The semi-final sentence from the meeting, whether or not the day has a row.
    void semiFinalSystem_data()
    {
        QTest::addColumn<QVariant>("yusyuflag");   // invalid: no meeting row
        QTest::addColumn<bool>("dayRow");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("system");
        QTest::newRow("0") << QVariant(0) << true << "18" << "準優三戦制";
        QTest::newRow("3 without a day") << QVariant(3) << false << "12" << "Ｗ準優制";
        QTest::newRow("1") << QVariant(1) << true << "6" << "完全得点制";
        QTest::newRow("4, beyond the systems") << QVariant(4) << true << "" << "";
        QTest::newRow("negative") << QVariant(-1) << true << "" << "";
        QTest::newRow("no meeting") << QVariant() << true << "" << "";
    }
    void semiFinalSystem()
    {
        QFETCH(QVariant, yusyuflag);
        QFETCH(bool, dayRow);
        QFETCH(QString, count);
        QFETCH(QString, system);
        if (yusyuflag.isValid())
            insertMeeting(yusyuflag);
        if (dayRow)
            insertDay("0613", "1240", 0, 0);
        const Koyomi day = load_koyomi(QString::number(kVenue), QString::number(kMeeting), QString::number(kDay));
        QCOMPARE(day.yusyuCount, count);
        QCOMPARE(day.yusyuSystem, system);
        QCOMPARE(day.kyuse, dayRow ? QStringLiteral("一白") : QString());
    }

    // Opened as a child of the frame: the first activation fills the window
    // and hides the race-card format menu.
    void windowFillsOnFirstActivation()
    {
        insertMeeting(3);
        insertDay("0613", "    ", 1, 0);
        QList<bool> menuShown;
        modkelmon::set_dispmenu_handler([&](bool visible) { menuShown << visible; });

        QMdiArea area;
        area.resize(600, 400);
        area.show();
        auto *window = new frmkoyomi;
        window->setContext({QStringLiteral("9"), QString::number(kMeeting), QStringLiteral("2"),
                            QStringLiteral("20011225")});
        QMdiSubWindow *sub = area.addSubWindow(window);
        sub->show();
        area.setActiveSubWindow(sub);
        QTRY_COMPARE(window->lbltime_08->text(), QStringLiteral("06時13分"));

        QCOMPARE((QStringList{window->lblkyuse->text(), window->lblrokki->text(), window->lblzikkan->text(),
                              window->lbleto->text(), window->lbltime_10->text(), window->lblyusyuflag[0]->text(),
                              window->lblyusyuflag[1]->text()}),
                 (QStringList{"一白", "大安", "甲", "子", "", "12", "Ｗ準優制"}));
        QCOMPARE(window->lblyusyuflag[1]->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
        QCOMPARE(window->lblmtnewflag->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
        QVERIFY(window->lblmtnewflag->isVisibleTo(window));
        QVERIFY(!window->lblbtnewflag->isVisibleTo(window));
        QVERIFY(!menuShown.contains(true));
        modkelmon::set_dispmenu_handler({});

        // The window reads the database once: later changes do not show.
        modkelmon::exec(QStringLiteral("update f_setfg set kyuse = ?"), {QStringLiteral("二黒")});
        window->activateFirstTime();
        QCOMPARE(window->lblkyuse->text(), QStringLiteral("一白"));
    }
};

QTEST_MAIN(TestFrmkoyomi)
#include "tst_frmkoyomi.moc"
