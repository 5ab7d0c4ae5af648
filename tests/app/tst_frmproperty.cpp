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

Settings shared()
{
    return {modkelmon::kyosocode, modkelmon::checkflag, modkelmon::regstflag, modkelmon::downlflag};
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

    void venueCaptionsArePadded()
    {
        frmproperty dialog;
        QCOMPARE(dialog.opts[0]->text(), QStringLiteral("桐　生"));
        QCOMPARE(dialog.opts[8]->text(), QStringLiteral("　津"));
        QCOMPARE(dialog.opts[23]->text(), QStringLiteral("大　村"));
    }

    // What the dialog shows for the stored settings.
    void showsSettings_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<int>("startOption");
        QTest::addColumn<int>("venue");
        QTest::addColumn<bool>("venuesEnabled");
        QTest::addColumn<int>("downloadOption");   // -1 neither
        QTest::newRow("defaults") << Settings{0, 1, 0, 1} << 0 << 0 << false << 1;
        QTest::newRow("venue 9") << Settings{9, 0, 1, 0} << 1 << 9 << true << 0;
        QTest::newRow("venue 24") << Settings{24, 1, 1, 1} << 1 << 24 << true << 1;
        QTest::newRow("code naming no venue") << Settings{25, 1, 1, 1} << 0 << 0 << false << 1;
        QTest::newRow("download flag out of range") << Settings{1, 1, 1, 7} << 1 << 1 << true << -1;
    }
    void showsSettings()
    {
        QFETCH(Settings, settings);
        QFETCH(int, startOption);
        QFETCH(int, venue);
        QFETCH(bool, venuesEnabled);
        QFETCH(int, downloadOption);
        setShared(settings);
        frmproperty dialog;
        QVERIFY(dialog.optkyosocode[startOption]->isChecked());
        QCOMPARE(checkedVenue(dialog), venue);
        for (QRadioButton *button : dialog.opts)
            QCOMPARE(button->isEnabled(), venuesEnabled);
        QCOMPARE(dialog.chkcheckflag->isChecked(), settings[1] == 1);
        QCOMPARE(dialog.chkregstflag->isChecked(), settings[2] == 1);
        QCOMPARE(dialog.optdownlflag[0]->isChecked(), downloadOption == 0);
        QCOMPARE(dialog.optdownlflag[1]->isChecked(), downloadOption == 1);
    }

    // Change the controls, then end with OK, Cancel or the close box.
    void saves_data()
    {
        QTest::addColumn<Settings>("before");
        QTest::addColumn<int>("startOption");   // clicked, -1 none
        QTest::addColumn<int>("venue");         // clicked, 0 none
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("regst");
        QTest::addColumn<int>("download");      // clicked, -1 none
        QTest::addColumn<QString>("ending");
        QTest::addColumn<Settings>("after");
        QTest::newRow("choose a venue") << Settings{0, 1, 0, 1} << 1 << 3 << false << true << 0 << "ok"
                                        << Settings{3, 0, 1, 0};
        QTest::newRow("open a venue, none chosen") << Settings{0, 1, 0, 1} << 1 << 0 << true << false << -1
                                                   << "ok" << Settings{0, 1, 0, 1};
        QTest::newRow("back to nothing") << Settings{9, 1, 1, 1} << 0 << 0 << true << true << -1 << "ok"
                                         << Settings{0, 1, 1, 1};
        QTest::newRow("change venue") << Settings{9, 0, 0, 0} << -1 << 12 << false << false << 1 << "ok"
                                      << Settings{12, 0, 0, 1};
        QTest::newRow("cancel") << Settings{9, 1, 0, 1} << 1 << 20 << false << true << 0 << "cancel"
                                << Settings{9, 1, 0, 1};
        QTest::newRow("close box") << Settings{9, 1, 0, 1} << 0 << 0 << false << true << 0 << "close"
                                   << Settings{9, 1, 0, 1};
        QTest::newRow("escape") << Settings{9, 1, 0, 1} << 0 << 0 << false << true << 0 << "escape"
                                << Settings{9, 1, 0, 1};
        QTest::newRow("download flag kept") << Settings{2, 1, 0, 7} << -1 << 0 << true << false << -1 << "ok"
                                            << Settings{2, 1, 0, 7};
    }
    void saves()
    {
        QFETCH(Settings, before);
        QFETCH(int, startOption);
        QFETCH(int, venue);
        QFETCH(bool, check);
        QFETCH(bool, regst);
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
        dialog.chkcheckflag->setChecked(check);
        dialog.chkregstflag->setChecked(regst);
        if (download >= 0)
            dialog.optdownlflag[download]->click();
        if (ending == QLatin1String("ok"))
            QTest::mouseClick(dialog.cmdexec, Qt::LeftButton);
        else if (ending == QLatin1String("cancel"))
            QTest::mouseClick(dialog.cmdcancel, Qt::LeftButton);
        else if (ending == QLatin1String("escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), ending == QLatin1String("ok") ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(shared(), after);
        QCOMPARE(stored(), after);
        QVERIFY(folder->exits().empty());

        // Reopening shows what was kept.
        frmproperty again;
        QCOMPARE(checkedVenue(again), after[0] <= 24 ? after[0] : 0);
        QCOMPARE(again.optkyosocode[0]->isChecked(), after[0] == 0);
    }

    // Leaving "指定の競走場を開く" clears the venue; coming back offers the
    // venues again with none chosen.
    void switchingStartOptionClearsVenue()
    {
        setShared({5, 1, 0, 1});
        frmproperty dialog;
        dialog.show();
        dialog.optkyosocode[0]->click();
        QCOMPARE(checkedVenue(dialog), 0);
        QVERIFY(!dialog.opts[4]->isEnabled());
        dialog.optkyosocode[1]->click();
        QCOMPARE(checkedVenue(dialog), 0);
        QVERIFY(dialog.opts[4]->isEnabled());
        dialog.opts[6]->click();
        dialog.opts[7]->click();
        QCOMPARE(checkedVenue(dialog), 8);
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
