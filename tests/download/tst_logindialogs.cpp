// The log-in dialog and the connection options dialog: what they accept,
// what they keep in the settings and what they hand back.

#include "download/dialup.h"
#include "download/setupregistry.h"
#include "download/ui/frmdialoption.h"
#include "download/ui/frmpass.h"
#include "platform/messages.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace kelmon;

namespace {

// A program folder with a settings file of its own.
struct Settings {
    Settings() { setup::setFilePath(folder.file("setup.ini")); }
    ~Settings() { setup::setFilePath(QString()); }
    test::ProgramFolder folder{false};
};

QStringList stored(const QStringList &keys)
{
    QStringList out;
    for (const QString &k : keys)
        out << k + "=" + setup::value(k, "<missing>");
    return out;
}

const QStringList kLogInKeys{"PCK", "USR", "PSS"};

} // namespace

class TestLogInDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void blanksAndEqualsNeverEnter();
    void enterMovesOnWithoutLoggingIn();
    void checks_data();
    void checks();
    void keptForTheNextLogIn();
    void notKeptAnyMore();
    void cancelLeavesSettings();
    void titleBarCloseSavesWithoutEvent();
    void optionsWithoutEntries();
    void optionsWithEntries_data();
    void optionsWithEntries();
    void optionsCancelled();
};

void TestLogInDialogs::blanksAndEqualsNeverEnter()
{
    Settings s;
    frmpass dialog;
    QTest::keyClicks(dialog.Text1, "ta r=nu");
    QTest::keyClicks(dialog.Text2, "= ab c");
    QCOMPARE(dialog.Text1->text(), QString("tarnu"));
    QCOMPARE(dialog.Text2->text(), QString("abc"));
    // Pasting can still bring them in.
    dialog.Text1->insert("a b=");
    QCOMPARE(dialog.Text1->text(), QString("tarnua b="));
    QCOMPARE(dialog.Text2->echoMode(), QLineEdit::Password);
}

void TestLogInDialogs::enterMovesOnWithoutLoggingIn()
{
    Settings s;
    frmpass dialog;
    QSignalSpy closed(&dialog, &frmpass::CloseWindow);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(dialog.Text1, "tarnu");
    dialog.Text2->setText("secret");
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.Text2);
    QCOMPARE(dialog.Text2->selectedText(), QString("secret"));
    QTest::keyClick(dialog.Text2, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.Command2);
    QVERIFY(dialog.isVisible());
    QCOMPARE(closed.size(), 0);
    // Enter on the check box ticks it and moves to OK.
    dialog.Check1->setFocus();
    QTest::keyClick(dialog.Check1, Qt::Key_Return);
    QVERIFY(dialog.Check1->isChecked());
    QCOMPARE(QApplication::focusWidget(), dialog.Command2);
    QCOMPARE(closed.size(), 0);
}

void TestLogInDialogs::checks_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("no user name") << "" << "x" << "ﾕｰｻﾞｰ名ｴﾗｰ" << "ﾕｰｻﾞｰ名を入力して下さい。";
    QTest::newRow("no address") << "taro" << "x" << "ﾕｰｻﾞｰ名ｴﾗｰ" << "ﾕｰｻﾞｰ名にはﾒｰﾙｱﾄﾞﾚｽを指定して下さい。";
    QTest::newRow("no password") << "taro@example.jp" << "" << "ﾊﾟｽﾜｰﾄﾞｴﾗｰ" << "ﾊﾟｽﾜｰﾄﾞを入力して下さい。";
    QTest::newRow("sample in capitals") << "TARNU" << "TARNU" << "" << "";
    QTest::newRow("address") << "a@b" << "p&w" << "" << "";
}

void TestLogInDialogs::checks()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, title);
    QFETCH(QString, message);
    Settings s;
    ScriptedMessages box;
    frmpass dialog;
    QSignalSpy closed(&dialog, &frmpass::CloseWindow);
    dialog.Text1->setText(user);
    dialog.Text2->setText(password);
    dialog.open();
    dialog.Command2->click();
    if (message.isEmpty()) {
        QVERIFY(box.shown().empty());
        QCOMPARE(closed.size(), 1);
        QCOMPARE(closed[0], QVariantList({user, password, false}));
        QVERIFY(!dialog.isVisible());
    } else {
        QCOMPARE(box.shown().size(), size_t(1));
        QCOMPARE(box.shown()[0].title, title);
        QCOMPARE(box.shown()[0].text, message);
        QCOMPARE(closed.size(), 0);
        QVERIFY(dialog.isVisible());
    }
}

void TestLogInDialogs::keptForTheNextLogIn()
{
    Settings s;
    {
        frmpass dialog;
        QVERIFY(!dialog.Check1->isChecked());
        dialog.Text1->setText("taro@example.jp");
        dialog.Text2->setText("p&w=1");
        dialog.Check1->setChecked(true);
        dialog.Command2->click();
    }
    QCOMPARE(stored(kLogInKeys), QStringList({"PCK=1", "USR=taro@example.jp", "PSS=p&w=1"}));
    frmpass next;
    QVERIFY(next.Check1->isChecked());
    QCOMPARE(next.Text1->text(), QString("taro@example.jp"));
    QCOMPARE(next.Text2->text(), QString("p&w=1"));
    QCOMPARE(next.Text1->selectedText(), QString("taro@example.jp"));
}

void TestLogInDialogs::notKeptAnyMore()
{
    Settings s;
    setup::setValue("PCK", "1");
    setup::setValue("USR", "taro@example.jp");
    setup::setValue("PSS", "secret");
    frmpass dialog;
    QCOMPARE(dialog.Text2->text(), QString("secret"));
    dialog.Check1->setChecked(false);
    dialog.Command2->click();
    QCOMPARE(stored(kLogInKeys), QStringList({"PCK=0", "USR=<missing>", "PSS=<missing>"}));
    QFile file(setup::filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("secret"));
}

void TestLogInDialogs::cancelLeavesSettings()
{
    Settings s;
    setup::setValue("PCK", "1");
    setup::setValue("USR", "tarnu");
    setup::setValue("PSS", "tarnu");
    frmpass dialog;
    QSignalSpy closed(&dialog, &frmpass::CloseWindow);
    dialog.Check1->setChecked(false);
    dialog.Text1->setText("other@example.jp");
    dialog.Command1->click();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0], QVariantList({QString(), QString(), true}));
    QCOMPARE(stored(kLogInKeys), QStringList({"PCK=1", "USR=tarnu", "PSS=tarnu"}));
}

void TestLogInDialogs::titleBarCloseSavesWithoutEvent()
{
    Settings s;
    frmpass dialog;
    QSignalSpy closed(&dialog, &frmpass::CloseWindow);
    dialog.show();
    dialog.Text1->setText("a@b");
    dialog.Text2->setText("pw");
    dialog.Check1->setChecked(true);
    QVERIFY(dialog.close());
    QCOMPARE(closed.size(), 0);
    QCOMPARE(stored(kLogInKeys), QStringList({"PCK=1", "USR=a@b", "PSS=pw"}));
}

void TestLogInDialogs::optionsWithoutEntries()
{
    Settings s;
    ScriptedMessages box;
    frmdialoption dialog;   // the system's own dial-up service: no entries
    QCOMPARE(dialog.Combo1->count(), 0);
    QVERIFY(!dialog.Check1->isChecked());
    QVERIFY(dialog.Combo1->isEnabled());
    dialog.open();
    dialog.cmdok->click();
    QCOMPARE(box.texts(), QStringList{"利用するダイヤルアップ接続を選択して下さい"});
    QVERIFY(dialog.isVisible());
    QCOMPARE(stored({"DSET"}), QStringList{"DSET=<missing>"});
    dialog.Check1->click();
    QVERIFY(!dialog.Combo1->isEnabled());
    dialog.cmdok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=1", "DNAME="}));
}

void TestLogInDialogs::optionsWithEntries_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("selected");
    QTest::newRow("same name") << "Office" << 1;
    QTest::newRow("other case") << "office" << -1;
    QTest::newRow("vanished") << "Old" << -1;
}

void TestLogInDialogs::optionsWithEntries()
{
    QFETCH(QString, saved);
    QFETCH(int, selected);
    Settings s;
    ScriptedDialUp dial;
    dial.entries = {"Home", "Office"};
    setup::setValue("DNAME", saved);
    setup::setValue("DCK", "0");
    frmdialoption dialog;
    QCOMPARE(dialog.Combo1->count(), 2);
    QCOMPARE(dialog.Combo1->currentIndex(), selected);
    dialog.Combo1->setCurrentIndex(0);
    dialog.cmdok->click();
    QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=0", "DNAME=Home"}));
}

void TestLogInDialogs::optionsCancelled()
{
    Settings s;
    frmdialoption dialog;
    dialog.Check1->click();
    dialog.cmdcancel->click();
    QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=<missing>", "DCK=<missing>", "DNAME=<missing>"}));
}

QTEST_MAIN(TestLogInDialogs)
#include "tst_logindialogs.moc"
