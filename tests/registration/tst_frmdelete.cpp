// The deletion dialog: the meeting grid, the warnings, the confirmation, the
// deletes in every paper table with compaction before the completion message.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "platform/messages.h"
#include "platform/ui/gridview.h"
#include "registration/ui/frmdelete.h"
#include "registration/ui/progressstatus.h"
#include "support/fixtures.h"
#include "support/gridshown.h"
#include "support/paintcounter.h"
#include "support/testenv.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDriver>
#include <QtTest>

#include <sqlite3.h>

using namespace kelmon;

namespace {

// A meeting with a row in every paper table, each holding a long text so
// that compaction shows.
void insertMeeting(int setuscode, int kyosocode, const QString &start, int days, int grade, const QString &title)
{
    test::insertRow("f_setus", {{"setuscode", setuscode}, {"kyosocode", kyosocode}, {"s_date", start},
                                {"racesword", title}, {"datescnt", days}, {"gradecode", grade}});
    for (const PaperTable &t : allTables()) {
        const QString name = QString::fromLatin1(t.name);
        if (name == "f_setus" || name == "m_kanri")
            continue;
        QVariantList values;
        for (const PaperColumn &c : t.cols())
            values << (c.kind == 'N' ? QVariant(setuscode) : QVariant(QString(8000, 'x')));
        if (name == "f_setfg")
            values[0] = kyosocode;
        modkelmon::exec("insert into " + name + " values (?" + QString(",?").repeated(values.size() - 1) + ")", values);
    }
}

int rowsOfMeeting(int setuscode)
{
    int n = 0;
    for (const PaperTable &t : allTables())
        if (QLatin1String(t.name) != QLatin1String("m_kanri"))
            n += modkelmon::scalar(QStringLiteral("select count(*) from %1 where setuscode = ?").arg(t.name), {setuscode}).toInt();
    return n;
}

QStringList rowTexts(const GridModel &g, int row)
{
    QStringList out;
    for (int c = 0; c < g.cols(); ++c)
        out << g.text(row, c);
    return out;
}

} // namespace

class TestFrmdelete : public test::DatabaseTest {
    Q_OBJECT
private Q_SLOTS:
    void showsAndDeletesMeetings()
    {
        insertMeeting(10, 1, "20020305", 6, 4, "  周年記念 ");
        insertMeeting(12, 9, "20020401", 1, 9, "一日戦");
        insertMeeting(11, 2, "20020312", 4, 3, "新鋭戦");
        ScriptedMessages box;
        frmdelete dialog;
        dialog.firstActivation();
        const GridModel &g = dialog.grid();
        // Newest meeting first; the last column holds the meeting's code, unseen.
        QCOMPARE(g.rows(), 4);
        QCOMPARE(rowTexts(g, 0), (QStringList{"競走場", "開催日", "Ｇ", "開催タイトル名", ""}));
        QCOMPARE(rowTexts(g, 1), (QStringList{"津", "02/04/01 ～1日間", "", "一日戦", "12"}));
        QCOMPARE(rowTexts(g, 2), (QStringList{"戸　田", "02/03/12 ～4日間", "ＧⅡ", "新鋭戦", "11"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"桐　生", "02/03/05 ～6日間", "ＧⅠ", "周年記念", "10"}));
        QCOMPARE(g.colWidth(4), 0);

        dialog.cmddelete_Click();
        QCOMPARE(box.texts().back(), QString("削除するデジタル紙面を選択して下さい"));
        dialog.mfgf_setus_MouseDown(3, 3, Qt::LeftButton, QPoint());
        dialog.grid().setRow(3);
        dialog.cmddelete_Click();   // answered No
        QCOMPARE(box.shown().back().title, QString("削除の確認です..."));
        QCOMPARE(box.shown().back().text, QString("桐生競走場 周年記念\r\n\r\nのデジタル紙面を削除しますか？"));
        QCOMPARE(rowsOfMeeting(10), 13);

        // While the deletion runs, another command is not taken (it could remove
        // another meeting's row) and the dialog cannot be closed.
        dialog.show();
        bool visible = false;
        connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&](int v) {
            if (v == 3 && !visible) {
                dialog.grid().setRow(1);
                dialog.cmddelete_Click();
                dialog.grid().setRow(3);
                dialog.close();
                dialog.reject();
                visible = dialog.isVisible() && dialog.status()->text() == "デジタル紙面を削除しています...";
            }
        });
        const qint64 before = modkelmon::database_size();
        box.answer(true);
        box.answer(true);
        dialog.cmddelete_Click();
        QVERIFY(visible);
        QCOMPARE(box.texts().count("デジタル紙面を削除中のため終了出来ません"), 2);
        QCOMPARE(rowsOfMeeting(10), 0);
        QCOMPARE(rowsOfMeeting(11) + rowsOfMeeting(12), 26);
        QCOMPARE(box.shown().back().title, QString("削除の完了です..."));
        QCOMPARE(box.shown().back().text, QString("デジタル紙面の削除が完了しました"));
        QVERIFY(modkelmon::database_size() < before);   // compacted
        QCOMPARE(dialog.status()->value(), 14);   // one step a table, one for the compaction
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.row(), 2);   // the row above the deleted last one is chosen

        // The right button does not move the chosen row; the menu deletes it.
        dialog.mfgf_setus_MouseDown(1, 0, Qt::LeftButton, QPoint());
        dialog.grid().setRow(1);
        dialog.mfgf_setus_MouseDown(2, 0, Qt::RightButton, QPoint(5, 5));
        QCOMPARE(g.row(), 1);
        QVERIFY(dialog.mnusort->isVisible());
        box.answer(true);
        dialog.mnusort->actions().first()->trigger();
        dialog.mnusort->hide();
        QCOMPARE(rowsOfMeeting(12), 0);
        QCOMPARE(rowTexts(g, 1).last(), QString("11"));
        dialog.cmddelete_Click();
        QCOMPARE(rowsOfMeeting(11), 0);
        QCOMPARE(g.rows(), 1);
        dialog.cmddelete_Click();
        QCOMPARE(box.texts().back(), QString("削除可能なデジタル紙面が有りません"));
        dialog.mfgf_setus_MouseDown(0, 0, Qt::RightButton, QPoint(10, 10));
        QVERIFY(!dialog.mnusort->isVisible());
        dialog.cmdend_Click();
        QVERIFY(!dialog.isVisible());
    }

    // Tab leads from the end button to the grid, whose keys choose a meeting
    // (below the heading, left of the hidden code) and keep it under a right
    // press; Enter presses a focused button, not the grid. The bar moves on
    // with each of the thirteen tables inside the meeting's transaction, then
    // once for the compaction; a failing table undoes the deletes before it.
    // In the program's font the status texts show whole, each painted before
    // its step.
    void keysEnterAndStepsOfADeletion()
    {
        insertMeeting(10, 1, "20020305", 6, 4, "周年記念");
        insertMeeting(11, 2, "20020312", 4, 3, "新鋭戦");
        const test::ProgramFont font;
        ScriptedMessages box;
        frmdelete dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *panel = dialog.status()->findChild<QLabel *>();
        for (const char *text : {"デジタル紙面を削除しています...", "ＤＢ最適化中..."}) {
            dialog.status()->setText(text);
            QVERIFY2(panel->sizeHint().width() <= panel->width(), text);
        }
        dialog.firstActivation();
        QString steps;   // per step of the bar, "+" inside an open transaction, "." outside
        connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, this, [&] {
            const QVariant handle = modkelmon::db().driver()->handle();
            steps += sqlite3_get_autocommit(*static_cast<sqlite3 *const *>(handle.constData())) ? "." : "+";
        });
        dialog.cmdend->setFocus();
        QTest::keyClick(dialog.cmdend, Qt::Key_Tab);
        GridView *view = dialog.mfgf_setus();
        QVERIFY(view->hasFocus());
        QCOMPARE(test::pressKeys(view, {Qt::Key_Up}), QPoint(0, 1));
        QCOMPARE(test::pressKeys(view, {Qt::Key_End, Qt::Key_Right, Qt::Key_PageUp}), QPoint(3, 1));
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, view->viewportRect(QRect(0, 2, 1, 1)).center());
        dialog.mnusort->hide();
        QCOMPARE(dialog.grid().row(), 1);
        // Shift+F10 and the Menu key pop it up for the chosen row as well.
        QCOMPARE(test::keyPopup(view, dialog.mnusort, Qt::ShiftModifier | Qt::Key_F10), QString("+"));
        QCOMPARE(test::keyPopup(view, dialog.mnusort, Qt::Key_Menu), QString("+"));
        QCOMPARE(dialog.grid().row(), 1);
        QCOMPARE(test::pressKeys(view, {Qt::Key_Down, Qt::Key_Down}), QPoint(0, 2));   // from the pressed column
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(box.texts(), QStringList());
        dialog.cmddelete->setFocus();
        box.answer(true);
        // Each status is on the screen before its step holds the event loop.
        const test::PaintedTexts painted(panel);
        QStringList paintedAtCompaction;
        modkelmon::set_compaction_hook([&](modkelmon::CompactionStep at) {
            if (at == modkelmon::CompactionStep::WriteWork)
                paintedAtCompaction = painted.texts;
        });
        QTest::keyClick(dialog.cmddelete, Qt::Key_Return);
        modkelmon::set_compaction_hook({});
        QCOMPARE(paintedAtCompaction.mid(paintedAtCompaction.size() - 2),
                 QStringList({"デジタル紙面を削除しています...", "ＤＢ最適化中..."}));
        QCOMPARE(steps, "." + QString(13, '+') + ".");
        QCOMPARE(rowsOfMeeting(10), 0);
        dialog.cmdend->setFocus();
        QTest::keyClick(dialog.cmdend, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!dialog.isVisible());

        // The tenth table refuses: nine steps, the fatal exit, the meeting whole again.
        modkelmon::exec("create trigger refuse before delete on f_racer begin select raise(abort, 'refused'); end");
        steps.clear();
        box.answer(true);
        dialog.cmddelete_Click();
        QCOMPARE(steps, "." + QString(9, '+'));
        QCOMPARE(folder->exits().size(), std::size_t(1));
        modkelmon::open_db();
        QCOMPARE(rowsOfMeeting(11), 13);
        folder.reset(new test::ProgramFolder);
    }
};

QTEST_MAIN(TestFrmdelete)
#include "tst_frmdelete.moc"
