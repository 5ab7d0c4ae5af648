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
    void checks_data();
    void checks();
    void savedOrNot_data();
    void savedOrNot();
    void optionsWithoutEntries();
    void optionsWithEntries();
};

void TestLogInDialogs::blanksAndEqualsNeverEnter()
{
    Settings s;
    frmpass dialog;
    QTest::keyClicks(dialog.Text1, "ta r=nu");
    QTest::keyClicks(dialog.Text2, "= ab c");
    QCOMPARE(dialog.Text1->text(), QString("tarnu"));
    QCOMPARE(dialog.Text2->text(), QString("abc"));
    QCOMPARE(dialog.Text2->echoMode(), QLineEdit::Password);
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

void TestLogInDialogs::savedOrNot_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("how");   // "ok", "cancel" or "close"
    QTest::addColumn<QStringList>("expected");
    const QStringList before{"PCK=1", "USR=old@example.jp", "PSS=old"};
    QTest::newRow("kept") << true << "ok" << QStringList({"PCK=1", "USR=taro@example.jp", "PSS=p&w=1"});
    QTest::newRow("kept, title bar") << true << "close" << QStringList({"PCK=1", "USR=taro@example.jp", "PSS=p&w=1"});
    QTest::newRow("not kept any more") << false << "ok" << QStringList({"PCK=0", "USR=<missing>", "PSS=<missing>"});
    QTest::newRow("cancelled") << false << "cancel" << before;
}

void TestLogInDialogs::savedOrNot()
{
    QFETCH(bool, keep);
    QFETCH(QString, how);
    QFETCH(QStringList, expected);
    Settings s;
    setup::setValue("PCK", "1");
    setup::setValue("USR", "old@example.jp");
    setup::setValue("PSS", "old");
    {
        frmpass dialog;
        QVERIFY(dialog.Check1->isChecked());
        QCOMPARE(dialog.Text2->text(), QString("old"));
        QSignalSpy closed(&dialog, &frmpass::CloseWindow);
        dialog.show();
        dialog.Text1->setText("taro@example.jp");
        dialog.Text2->setText("p&w=1");
        dialog.Check1->setChecked(keep);
        if (how == "ok")
            dialog.Command2->click();
        else if (how == "cancel")
            dialog.Command1->click();
        else
            QVERIFY(dialog.close());
        QCOMPARE(closed.size(), how == "close" ? 0 : 1);
        if (how == "cancel")
            QCOMPARE(closed[0], QVariantList({QString(), QString(), true}));
    }
    QCOMPARE(stored(kLogInKeys), expected);
    QFile file(setup::filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().contains("old"), how == "cancel");
    // The next log-in starts from what was kept.
    frmpass next;
    QCOMPARE(next.Text2->text(), expected[0] == "PCK=1" ? setup::value("PSS") : QString());
}

void TestLogInDialogs::optionsWithoutEntries()
{
    Settings s;
    ScriptedMessages box;
    frmdialoption dialog;   // the system's own dial-up service: no entries
    dialog.open();
    dialog.cmdok->click();
    QCOMPARE(box.texts(), QStringList{"利用するダイヤルアップ接続を選択して下さい"});
    QVERIFY(dialog.isVisible());
    QCOMPARE(stored({"DSET"}), QStringList{"DSET=<missing>"});
    dialog.Check1->click();
    dialog.cmdok->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=1", "DNAME="}));
}

void TestLogInDialogs::optionsWithEntries()
{
    Settings s;
    ScriptedDialUp dial;
    dial.entries = {"Home", "Office"};
    setup::setValue("DNAME", "Office");
    setup::setValue("DCK", "0");
    frmdialoption dialog;
    QCOMPARE(dialog.Combo1->count(), 2);
    QCOMPARE(dialog.Combo1->currentIndex(), 1);
    dialog.Combo1->setCurrentIndex(0);
    dialog.cmdok->click();
    QCOMPARE(stored({"DSET", "DCK", "DNAME"}), QStringList({"DSET=True", "DCK=0", "DNAME=Home"}));
}

QTEST_MAIN(TestLogInDialogs)
#include "tst_logindialogs.moc"
