// The settings dialog against a real settings row.

#include "app/ui/frmproperty.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using Settings = QList<int>;   // kyosocode, checkflag, regstflag, downlflag

namespace {

void setShared(const Settings &s)
{
    modkelmon::kyosocode = qint16(s[0]);
    modkelmon::checkflag = qint16(s[1]);
    modkelmon::regstflag = qint16(s[2]);
    modkelmon::downlflag = qint16(s[3]);
}

Settings stored()
{
    QSqlQuery q = modkelmon::exec(
        QStringLiteral("select kyosocode, checkflag, regstflag, downlflag from m_kanri where kanricode = 1"));
    if (!q.next())
        return {};
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
}

int checkedVenue(const frmproperty &dialog)
{
    for (int i = 0; i < 24; ++i)
        if (dialog.opts[i]->isChecked())
            return i + 1;
    return 0;
}

} // namespace

class TestFrmproperty : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder.reset(new kelmon::test::ProgramFolder);
        kelmon::read_m_kanri();
    }
    void cleanup() { folder.reset(); }

    // Values that name no option leave every option of their group clear.
    void showsOutOfRangeSettings()
    {
        setShared({25, 1, 1, 7});
        frmproperty dialog;
        QVERIFY(dialog.optkyosocode[0]->isChecked());
        QCOMPARE(checkedVenue(dialog), 0);
        QVERIFY(!dialog.opts[0]->isEnabled());
        QVERIFY(!dialog.optdownlflag[0]->isChecked());
        QVERIFY(!dialog.optdownlflag[1]->isChecked());
    }

    // Change the controls, then end with OK, Cancel or Escape.
    void saves_data()
    {
        QTest::addColumn<Settings>("before");
        QTest::addColumn<int>("startOption");   // clicked, -1 none
        QTest::addColumn<int>("venue");         // clicked, 0 none
        QTest::addColumn<int>("download");      // clicked, -1 none
        QTest::addColumn<QString>("ending");
        QTest::addColumn<Settings>("after");
        QTest::newRow("choose a venue") << Settings{0, 1, 0, 1} << 1 << 3 << 0 << "ok" << Settings{3, 0, 1, 0};
        QTest::newRow("back to nothing") << Settings{9, 0, 1, 1} << 0 << 0 << -1 << "ok" << Settings{0, 0, 1, 1};
        QTest::newRow("cancel") << Settings{9, 1, 0, 1} << 1 << 20 << 0 << "cancel" << Settings{9, 1, 0, 1};
        QTest::newRow("escape") << Settings{9, 1, 0, 1} << 0 << 0 << 0 << "escape" << Settings{9, 1, 0, 1};
        QTest::newRow("download flag kept") << Settings{2, 0, 1, 7} << -1 << 0 << -1 << "ok" << Settings{2, 0, 1, 7};
    }
    void saves()
    {
        QFETCH(Settings, before);
        QFETCH(int, startOption);
        QFETCH(int, venue);
        QFETCH(int, download);
        QFETCH(QString, ending);
        QFETCH(Settings, after);
        setShared(before);
        kelmon::write_startup_settings();

        frmproperty dialog;
        dialog.open();
        if (startOption >= 0)
            dialog.optkyosocode[startOption]->click();
        if (venue > 0)
            dialog.opts[venue - 1]->click();
        dialog.chkcheckflag->setChecked(false);
        dialog.chkregstflag->setChecked(true);
        if (download >= 0)
            dialog.optdownlflag[download]->click();
        if (ending == QLatin1String("ok"))
            QTest::mouseClick(dialog.cmdexec, Qt::LeftButton);
        else if (ending == QLatin1String("cancel"))
            QTest::mouseClick(dialog.cmdcancel, Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);

        QVERIFY(!dialog.isVisible());
        QCOMPARE(stored(), after);
        QCOMPARE(modkelmon::kyosocode, qint16(after[0]));
        QVERIFY(folder->exits().empty());
    }

    // A failing update goes to the fatal database exit.
    void databaseFailureIsFatal()
    {
        setShared({0, 1, 0, 1});
        frmproperty dialog;
        dialog.open();
        modkelmon::exec(QStringLiteral("drop table m_kanri"));
        QTest::mouseClick(dialog.cmdexec, Qt::LeftButton);
        QCOMPARE(folder->exits().size(), std::size_t(1));
    }

private:
    std::unique_ptr<kelmon::test::ProgramFolder> folder;
};

QTEST_MAIN(TestFrmproperty)
#include "tst_frmproperty.moc"
