// The settings dialog against a real settings row, the version dialog and the
// splash's version line.

#include "app/ui/frmopening.h"
#include "app/ui/frmproperty.h"
#include "app/ui/frmversion.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
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

class TestDialogs : public kelmon::test::DatabaseTest {
    Q_OBJECT
private slots:
    // The venues in code order, one-character names led by a blank; values
    // that name no option leave every option of their group clear.
    void showsSettings()
    {
        kelmon::read_m_kanri();
        setShared({24, 1, 0, 1});
        frmproperty shown;
        QCOMPARE(shown.opts[0]->text(), QString("桐　生"));
        QCOMPARE(shown.opts[8]->text(), QString("　津"));
        QCOMPARE(shown.opts[23]->text(), QString("大　村"));
        QCOMPARE(checkedVenue(shown), 24);
        QVERIFY(shown.chkcheckflag->isChecked() && !shown.chkregstflag->isChecked() && shown.optdownlflag[1]->isChecked());
        setShared({25, 1, 1, 7});
        frmproperty dialog;
        QVERIFY(dialog.optkyosocode[0]->isChecked() && checkedVenue(dialog) == 0 && !dialog.opts[0]->isEnabled());
        QVERIFY(!dialog.optdownlflag[0]->isChecked() && !dialog.optdownlflag[1]->isChecked());
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
        QTest::newRow("first venue") << Settings{0, 1, 0, 1} << 1 << 1 << 0 << "ok" << Settings{1, 0, 1, 0};
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
        kelmon::read_m_kanri();
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
    }

    // A failing update goes to the fatal database exit.
    void databaseFailureIsFatal()
    {
        kelmon::read_m_kanri();
        frmproperty dialog;
        dialog.open();
        modkelmon::exec(QStringLiteral("drop table m_kanri"));
        QTest::mouseClick(dialog.cmdexec, Qt::LeftButton);
        QCOMPARE(folder->exits().size(), std::size_t(1));
        folder.reset(new kelmon::test::ProgramFolder);
    }

    // The version on the dialog and the splash; the history opens and closes.
    void versionAndHistory()
    {
        auto *splash = new kelmon::frmopening(nullptr);
        QCOMPARE(splash->versionText(), QString("Version2.1.3"));
        delete splash;
        frmversion dialog;
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        QCOMPARE(dialog.lblversion->text(), QString("Version 2.1.3"));
        QCOMPARE(dialog.height(), (2370 - 405) / 15);
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(dialog.cmdinfo, Qt::LeftButton);
            QCOMPARE(dialog.cmdinfo->text(), QString("履歴を閉じる(&X)"));
            QCOMPARE(dialog.height(), (4710 - 405) / 15);
            QTest::mouseClick(dialog.cmdinfo, Qt::LeftButton);
            QCOMPARE(dialog.cmdinfo->text(), QString("履歴を表示(&O)"));
            QCOMPARE(dialog.height(), (2370 - 405) / 15);
        }
        // Enter presses the focused history button, not the default OK.
        dialog.cmdinfo->setFocus();
        QTest::keyClick(dialog.cmdinfo, Qt::Key_Return);
        QCOMPARE(dialog.cmdinfo->text(), QString("履歴を閉じる(&X)"));
        QCOMPARE(finished.count(), 0);
        // Only the arrow keys reach the history: nothing can be typed into it,
        // and Escape or Enter there do not end the dialog.
        const QString text = dialog.txtInfo->toPlainText();
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Escape}) {
            dialog.txtInfo->setFocus();
            QTextCursor cursor = dialog.txtInfo->textCursor();
            cursor.setPosition(3);
            dialog.txtInfo->setTextCursor(cursor);
            QTest::keyClick(dialog.txtInfo, key);
            QTest::keyClicks(dialog.txtInfo, QStringLiteral("x"));
            QCOMPARE(dialog.txtInfo->toPlainText(), text);
            QCOMPARE(dialog.txtInfo->textCursor().position(), key == Qt::Key_Right ? 4 : 3);
            QCOMPARE(finished.count(), 0);
        }
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QString("2.1.3 02/03/05 紙面ダウンロード部分を修正しました"));
        QCOMPARE(lines.last(), QString("1.0.0 00/06/19"));
        // Hidden from inside, the history hands the focus to its button,
        // where Enter and Escape work again.
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(dialog.txtInfo, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!dialog.historyShown());
        QCOMPARE(QApplication::focusWidget(), dialog.cmdinfo);
        QVERIFY(dialog.close());
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
