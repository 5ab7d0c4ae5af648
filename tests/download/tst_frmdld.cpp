// The download from the main window, as a new user does it: the command from
// the menu, Ctrl+W or the toolbar opens the download dialog; the connection
// options and the log-in come first; the list shows the papers and the count;
// two papers come down; the registration dialog that follows stores them.

#include "app/ui/frmmainmenu.h"
#include "app/ui/mainmenus.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/textforms.h"
#include "download/setupregistry.h"
#include "download/ui/frmdialoption.h"
#include "download/ui/frmdld.h"
#include "download/ui/frmpass.h"
#include "helpers/downloadenv.h"
#include "platform/messages.h"
#include "registration/ui/frmdatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QStatusBar>
#include <QtTest>

using namespace kelmon;

namespace {

void clickLater(QPushButton *button) { QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection); }

// Plays the user through whatever modal dialog is on top.
class User : public QObject {
public:
    explicit User(test::DownloadEnv &env) : env_(env)
    {
        connect(&timer_, &QTimer::timeout, this, &User::step);
        timer_.start(5);
    }

    QStringList seen;            // dialog kinds in the order they first came up
    QStringList titles;          // list titles when the count showed
    QString count;
    QStringList statuses;        // status texts after each paper

private:
    void note(const QString &kind)
    {
        if (!seen.contains(kind))
            seen << kind;
    }

    void step()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (!top)
            return;
        if (auto *o = qobject_cast<frmdialoption *>(top)) {
            note("options");
            // No dial-up entries here: only "no modem" can be saved.
            if (o->Combo1->count() == 0 && !o->Check1->isChecked())
                o->Check1->click();
            if (o->isVisible())
                clickLater(o->cmdok);
        } else if (auto *p = qobject_cast<frmpass *>(top)) {
            note("log-in");
            if (p->Text1->text().isEmpty()) {
                QTest::keyClicks(p->Text1, "tarnu");
                QTest::keyClicks(p->Text2, "tarnu");
                clickLater(p->Command2);
            }
        } else if (auto *d = qobject_cast<frmdld *>(top)) {
            note("download");
            downloadStep(d);
        } else if (auto *r = qobject_cast<frmdatabase *>(top)) {
            note("registration");
            if (!registered_) {
                registered_ = true;
                clickLater(r->cmddatabase);
            }
        }
    }

    void downloadStep(frmdld *d)
    {
        if (d->flow.transferring() || pending_)
            return;
        const int done = int(env_.received().size());
        if (!connected_) {
            connected_ = true;
            clickLater(d->cmdconect);
        } else if (d->cmddwld->isEnabled() && done < 2 && started_ == done) {
            if (done == 0) {
                count = d->Label3->text();
                for (int i = 0; i < d->List1->count(); ++i)
                    titles << d->List1->item(i)->text();
            } else {
                statuses << d->StatusBar1->currentMessage();
            }
            ++started_;
            d->List1->setCurrentRow(done);
            clickLater(d->cmddwld);
        } else if (done == 2 && started_ == 2 && d->cmdclse->isEnabled()) {
            statuses << d->StatusBar1->currentMessage();
            pending_ = true;
            clickLater(d->cmdclse);
        }
    }

    test::DownloadEnv &env_;
    QTimer timer_;
    bool connected_ = false;
    bool registered_ = false;
    bool pending_ = false;
    int started_ = 0;
};

// Every record of the paper is a stored row with the same numbers.
void compareStoredRows(const SamplePaper &paper)
{
    for (const SamplePaperTable &t : paper.tables) {
        const PaperTable *layout = findTable(t.table.toLatin1().constData());
        QVERIFY(layout);
        const QStringList keys = QString::fromLatin1(layout->primaryKey).split(", ");
        for (const QStringList &record : t.records) {
            QStringList where;
            QVariantList values;
            for (int i = 0; i < keys.size(); ++i) {
                where << keys[i] + " = ?";
                values << val(record[i]);
            }
            QSqlQuery q = modkelmon::exec("select * from " + t.table + " where " + where.join(" and "), values);
            QVERIFY2(q.next(), qPrintable(t.table + ": " + record.join(',')));
            for (int i = 0; i < int(layout->columnCount); ++i) {
                if (layout->columns[i].kind == 'N')
                    QVERIFY2(qFuzzyCompare(1.0 + q.value(i).toDouble(), 1.0 + val(record[i])),
                             qPrintable(t.table + "." + layout->columns[i].name));
            }
        }
    }
}

} // namespace

class TestFrmdld : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newUserDownloadsAndRegisters_data();
    void newUserDownloadsAndRegisters();
    void closeRefusedWhileFetching();
};

void TestFrmdld::newUserDownloadsAndRegisters_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("Ctrl+W") << "Ctrl+W";
    QTest::newRow("toolbar") << "toolbar";
}

void TestFrmdld::newUserDownloadsAndRegisters()
{
    QFETCH(QString, how);
    test::DownloadEnv env(2, true);
    ScriptedMessages box;
    box.answer(true);   // "register now?"
    frmmainmenu w;
    w.firstActivation();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAction *command = w.menus().action("mnudownload");
    QVERIFY(command->isEnabled());
    QVERIFY(w.menus().button(3)->isEnabled());

    User user(env);
    if (how == "menu")
        command->trigger();
    else if (how == "Ctrl+W")
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
    else
        w.menus().button(3)->trigger();

    QCOMPARE(user.seen, QStringList({"download", "options", "log-in", "registration"}));
    QVERIFY(!w.menus().button(3)->isChecked());
    QCOMPARE(user.count, QString("∞"));
    QCOMPARE(user.titles, QStringList({"住之江  >> ＳＧ 初日　　　(2002/03/05)[ｻﾝﾌﾟﾙ]",
                                       "住之江  >> ＳＧ 予選　　　(2002/03/06)[ｻﾝﾌﾟﾙ]"}));
    QCOMPARE(user.statuses, QStringList({env.papers[0].archiveName + "のダウンロードが完了しました...",
                                         env.papers[1].archiveName + "のダウンロードが完了しました..."}));
    QCOMPARE(env.server.requests().size(), 1 + 2 * 3);
    QCOMPARE(setup::value("DSET"), QString("True"));
    QCOMPARE(setup::value("DCK"), QString("1"));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFile::permissions(setup::filePath()) & others, QFileDevice::Permissions());

    // Registered: both archives left receive/ for backup/, and their rows are stored.
    QCOMPARE(env.received(), QStringList());
    QCOMPARE(QDir(env.folder.file("backup")).entryList({"*.lzh"}, QDir::Files, QDir::Name),
             QStringList({env.papers[0].archiveName, env.papers[1].archiveName}));
    compareStoredRows(env.papers[0]);
    compareStoredRows(env.papers[1]);
    QVERIFY(env.folder.exits().empty());
}

void TestFrmdld::closeRefusedWhileFetching()
{
    test::DownloadEnv env(1);
    test::DownloadEnv::noModem();
    ScriptedMessages box;
    PaperServer::Fault silent;
    silent.silent = true;
    env.server.setFault(PaperServer::Step::Fetch, silent);
    frmdld d;
    d.flow.showLogin = [&] { d.flow.PForm_CloseWindow("tarnu", "tarnu", false); };
    d.show();
    d.cmdconect->click();
    QVERIFY(test::waitFor([&] { return d.cmddwld->isEnabled(); }));
    QTest::keyClick(d.List1, Qt::Key_Return);
    QVERIFY(test::waitFor([&] { return d.Command1->isEnabled(); }));
    QVERIFY(!d.cmdconect->isEnabled() && !d.cmddwld->isEnabled() && !d.cmdclse->isEnabled());
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.close());
    QVERIFY(d.isVisible());
    QCOMPARE(box.texts(), QStringList(2, "デジタル紙面をダウンロード中のため終了出来ません"));
    d.Command1->click();
    QCOMPARE(d.StatusBar1->currentMessage(), QString("ダウンロードがキャンセルされました..."));
    QVERIFY(d.cmdclse->isEnabled() && !d.Command1->isEnabled());
    QVERIFY(d.close());
}

QTEST_MAIN(TestFrmdld)
#include "tst_frmdld.moc"
