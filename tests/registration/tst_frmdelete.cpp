// The deletion dialog: the meeting grid, the warnings, the confirmation, the
// thirteen deletes with compaction before the completion message.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"
#include "registration/ui/frmdelete.h"
#include "registration/ui/progressstatus.h"
#include "support/fixtures.h"
#include "support/testenv.h"

#include <QMenu>
#include <QProgressBar>
#include <QtTest>

using namespace kelmon;

namespace {

// Records, with every information box, the database size at that moment.
class SizeAtMessages : public ScriptedMessages {
public:
    std::vector<qint64> sizes;
    void information(const QString &title, const QString &text) override
    {
        sizes.push_back(modkelmon::database_size());
        ScriptedMessages::information(title, text);
    }
};

// A meeting with a row in every paper table, padded so compaction shows.
void insertMeeting(int setuscode, int kyosocode, const QString &start, int days, const QString &title)
{
    test::insertRow("f_setus", {{"setuscode", setuscode}, {"kyosocode", kyosocode}, {"s_date", start},
                                {"racesword", title}, {"datescnt", days}, {"gradecode", 3}});
    for (const PaperTable &t : allTables()) {
        const QString name = QString::fromLatin1(t.name);
        if (name == "f_setus" || name == "m_kanri")
            continue;
        for (int i = 1; i <= 40; ++i) {
            QSqlQuery q = modkelmon::exec(QStringLiteral("select count(*) from pragma_table_info(?)"), {name});
            q.next();
            QVariantList values;
            QStringList marks;
            for (int c = 0; c < q.value(0).toInt(); ++c) {
                values << (c == 0 ? QVariant(name == "f_setfg" ? kyosocode : setuscode)
                           : c == 1 ? QVariant(name == "f_setfg" ? setuscode : i)
                                    : QVariant(t.cols()[c].kind == 'N' ? QVariant(i) : QVariant(QString(40, 'x'))));
                marks << "?";
            }
            modkelmon::exec("insert into " + name + " values (" + marks.join(',') + ")", values);
        }
    }
}

int rowsOfMeeting(int setuscode)
{
    int n = 0;
    for (const PaperTable &t : allTables())
        if (QLatin1String(t.name) != QLatin1String("m_kanri"))
            n += modkelmon::scalar(QStringLiteral("select count(*) from %1 where setuscode = ?").arg(t.name),
                                   {setuscode})
                     .toInt();
    return n;
}

} // namespace

class TestFrmdelete : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyTableWarns();
    void gridRows();
    void deletesOneMeetingEverywhere();
    void secondCommandDuringDeletionIsIgnored();
    void refusesToCloseWhileDeleting();
};

void TestFrmdelete::emptyTableWarns()
{
    test::ProgramFolder folder;
    ScriptedMessages box;
    frmdelete dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.grid().rows(), 1);
    QCOMPARE(dialog.grid().text(0, 3), QString("開催タイトル名"));
    dialog.cmddelete_Click();
    QCOMPARE(box.texts(), QStringList{"削除可能なデジタル紙面が有りません"});
    dialog.mfgf_setus_MouseDown(0, 0, Qt::RightButton, QPoint(10, 10));
    QVERIFY(!dialog.mnusort->isVisible());
}

void TestFrmdelete::gridRows()
{
    test::ProgramFolder folder;
    test::insertRow("f_setus", {{"setuscode", 10}, {"kyosocode", 1}, {"s_date", "20020305"}, {"racesword", "  周年記念 "},
                                {"datescnt", 6}, {"gradecode", 4}});
    test::insertRow("f_setus", {{"setuscode", 12}, {"kyosocode", 9}, {"s_date", "20020401"}, {"racesword", "一日戦"},
                                {"datescnt", 1}, {"gradecode", 9}});
    frmdelete dialog;
    dialog.firstActivation();
    const GridModel &g = dialog.grid();
    QCOMPARE(g.rows(), 3);
    QCOMPARE(g.colWidth(4), 0);
    const QStringList newest{"津", "02/04/01 ～1日間", "", "一日戦", "12"};
    const QStringList older{"桐　生", "02/03/05 ～6日間", "ＧⅠ", "周年記念", "10"};
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(g.text(1, c), newest[c]);
        QCOMPARE(g.text(2, c), older[c]);
    }
}

void TestFrmdelete::deletesOneMeetingEverywhere()
{
    test::ProgramFolder folder;
    insertMeeting(10, 1, "20020305", 6, "  周年記念 ");
    insertMeeting(11, 2, "20020312", 4, "新鋭戦");
    SizeAtMessages box;
    frmdelete dialog;
    dialog.firstActivation();
    QCOMPARE(dialog.grid().rows(), 3);

    dialog.cmddelete_Click();
    QCOMPARE(box.texts().back(), QString("削除するデジタル紙面を選択して下さい"));

    dialog.mfgf_setus_MouseDown(2, 3, Qt::LeftButton, QPoint());
    dialog.grid().setRow(2);
    dialog.cmddelete_Click();   // answered No
    QCOMPARE(box.shown().back().title, QString("削除の確認です..."));
    QCOMPARE(box.shown().back().text, QString("桐生競走場 周年記念\r\n\r\nのデジタル紙面を削除しますか？"));
    QCOMPARE(rowsOfMeeting(10), 1 + 12 * 40);

    const qint64 before = modkelmon::database_size();
    box.answer(true);
    dialog.cmddelete_Click();
    QCOMPARE(rowsOfMeeting(10), 0);
    QCOMPARE(rowsOfMeeting(11), 1 + 12 * 40);
    QCOMPARE(box.shown().back().title, QString("削除の完了です..."));
    QCOMPARE(box.shown().back().text, QString("デジタル紙面の削除が完了しました"));
    QVERIFY(box.sizes.back() < before);   // compacted before the message
    QCOMPARE(dialog.grid().rows(), 2);
    QCOMPARE(dialog.grid().text(1, 4), QString("11"));

    // The right button does not move the chosen row; the menu deletes it.
    dialog.mfgf_setus_MouseDown(1, 0, Qt::LeftButton, QPoint());
    dialog.grid().setRow(1);
    dialog.mfgf_setus_MouseDown(0, 0, Qt::RightButton, QPoint(5, 5));
    QCOMPARE(dialog.grid().row(), 1);
    box.answer(true);
    dialog.mnusort->actions().first()->trigger();
    QCOMPARE(rowsOfMeeting(11), 0);
    QCOMPARE(dialog.grid().rows(), 1);
    dialog.cmddelete_Click();
    QCOMPARE(box.texts().back(), QString("削除可能なデジタル紙面が有りません"));
    QVERIFY(folder.exits().empty());
}

void TestFrmdelete::secondCommandDuringDeletionIsIgnored()
{
    test::ProgramFolder folder;
    insertMeeting(10, 1, "20020305", 6, "A");
    insertMeeting(11, 2, "20020312", 4, "B");
    insertMeeting(12, 3, "20020319", 4, "C");
    ScriptedMessages box;
    frmdelete dialog;
    dialog.firstActivation();
    dialog.grid().setRow(2);   // meeting 11
    bool again = false;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&](int v) {
        if (v == 3 && !again) {
            again = true;
            dialog.grid().setRow(1);
            dialog.cmddelete_Click();
            dialog.grid().setRow(2);
        }
    });
    box.answer(true);
    box.answer(true);
    dialog.cmddelete_Click();
    QVERIFY(again);
    QCOMPARE(rowsOfMeeting(11), 0);
    QCOMPARE(rowsOfMeeting(12), 1 + 12 * 40);
    QCOMPARE(dialog.grid().rows(), 3);
    QCOMPARE(dialog.grid().text(1, 4), QString("12"));
    QCOMPARE(dialog.grid().text(2, 4), QString("10"));
    QCOMPARE(box.texts().count("デジタル紙面の削除が完了しました"), 1);
}

void TestFrmdelete::refusesToCloseWhileDeleting()
{
    test::ProgramFolder folder;
    insertMeeting(10, 1, "20020305", 6, "A");
    ScriptedMessages box;
    frmdelete dialog;
    dialog.show();
    dialog.firstActivation();
    dialog.grid().setRow(1);
    bool visible = false;
    connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&](int v) {
        if (v == 5) {
            dialog.close();
            dialog.reject();
            visible = dialog.isVisible();
        }
    });
    box.answer(true);
    dialog.cmddelete_Click();
    QVERIFY(visible);
    QCOMPARE(box.texts().count("デジタル紙面を削除中のため終了出来ません"), 2);
    dialog.cmdend_Click();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestFrmdelete)
#include "tst_frmdelete.moc"
