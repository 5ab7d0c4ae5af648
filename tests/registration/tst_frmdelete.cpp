// The deletion dialog: the meeting grid, the warnings, the confirmation, the
// deletes in every paper table with compaction before the completion message.

#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "registration/ui/frmdelete.h"
#include "platform/ui/gridview.h"
#include "registration/ui/progressstatus.h"
#include "support/fixtures.h"
#include "support/gridshown.h"
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

// Whether the connection is inside a transaction that is not yet committed.
bool inTransaction()
{
    const QVariant handle = modkelmon::db().driver()->handle();
    return sqlite3_get_autocommit(*static_cast<sqlite3 *const *>(handle.constData())) == 0;
}

// Records the bar's values as a deletion runs, each marked "+" while the
// meeting's transaction is still open and "." after it.
void recordSteps(frmdelete &dialog, QStringList &steps)
{
    QObject::connect(dialog.findChild<QProgressBar *>("prgtemp"), &QProgressBar::valueChanged, &dialog,
                     [&steps](int v) { steps << QString::number(v) + (inTransaction() ? "+" : "."); });
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

    // The bar moves on with each of the thirteen tables inside the meeting's
    // one transaction, then once more for the compaction; a table that
    // cannot be emptied undoes the deletes before it.
    void deletionStepsInsideItsTransaction()
    {
        insertMeeting(10, 1, "20020305", 6, 4, "周年記念");
        insertMeeting(11, 2, "20020312", 4, 3, "新鋭戦");
        ScriptedMessages box;
        frmdelete dialog;
        dialog.firstActivation();
        QStringList steps;
        recordSteps(dialog, steps);
        dialog.grid().setRow(2);
        box.answer(true);
        dialog.cmddelete_Click();
        QStringList expected;
        for (int i = 1; i <= 13; ++i)
            expected << QString::number(i) + "+";
        QCOMPARE(steps, QStringList{"0."} + expected + QStringList{"14."});
        QCOMPARE(rowsOfMeeting(10), 0);

        // The tenth table refuses: nine steps, then the fatal exit, and the
        // meeting is whole again.
        steps.clear();
        modkelmon::exec("create trigger refuse before delete on f_racer begin select raise(abort, 'refused'); end");
        dialog.grid().setRow(1);
        box.answer(true);
        dialog.cmddelete_Click();
        QCOMPARE(steps, QStringList{"0."} + expected.mid(0, 9));
        QCOMPARE(folder->exits().size(), std::size_t(1));
        modkelmon::open_db();
        QCOMPARE(rowsOfMeeting(11), 13);
        folder.reset(new test::ProgramFolder);
    }

    // Enter on a focused button presses it; Enter on the grid presses none.
    void enterPressesTheFocusedButton()
    {
        insertMeeting(10, 1, "20020305", 6, 4, "周年記念");
        ScriptedMessages box;
        frmdelete dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.firstActivation();
        dialog.mfgf_setus_MouseDown(1, 0, Qt::LeftButton, QPoint());
        dialog.grid().setRow(1);
        dialog.mfgf_setus()->setFocus();
        QTest::keyClick(dialog.mfgf_setus(), Qt::Key_Return);
        QCOMPARE(box.texts(), QStringList());
        dialog.cmddelete->setFocus();
        QTest::keyClick(dialog.cmddelete, Qt::Key_Return);   // answered No
        QCOMPARE(box.shown().size(), std::size_t(1));
        QCOMPARE(box.shown().back().title, QString("削除の確認です..."));
        dialog.cmdend->setFocus();
        QTest::keyClick(dialog.cmdend, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(rowsOfMeeting(10), 13);
    }

    // In the program's font the status texts of a deletion show whole.
    void statusTextsShowWhole()
    {
        const QFont before = QApplication::font();
        QApplication::setFont(makeFont(DefaultFontName, DefaultFontPoints));
        {
            frmdelete dialog;
            auto *panel = dialog.status()->findChild<QLabel *>();
            for (const char *text : {"デジタル紙面を削除しています...", "ＤＢ最適化中..."}) {
                dialog.status()->setText(text);
                QVERIFY2(panel->sizeHint().width() <= panel->width(), text);
            }
        }
        QApplication::setFont(before);
    }

    // Tab leads from the end button to the grid; the keys choose a meeting as
    // the left button does, below the heading and left of the hidden meeting
    // code, and the delete command and the popup act on it.
    void keysChooseAMeeting()
    {
        insertMeeting(10, 1, "20020305", 6, 4, "周年記念");
        insertMeeting(11, 2, "20020312", 4, 3, "新鋭戦");
        ScriptedMessages box;
        frmdelete dialog;
        dialog.show();
        dialog.firstActivation();
        dialog.cmdend->setFocus();
        QTest::keyClick(dialog.cmdend, Qt::Key_Tab);
        GridView *view = dialog.mfgf_setus();
        QVERIFY(view->hasFocus());
        using test::pressKeys;
        QCOMPARE(pressKeys(view, {Qt::Key_Up}), QPoint(0, 1));
        QCOMPARE(pressKeys(view, {Qt::Key_End, Qt::Key_Right, Qt::Key_Down}), QPoint(3, 2));
        dialog.cmddelete_Click();   // answered No
        QCOMPARE(box.shown().back().text, QString("桐生競走場 周年記念\r\n\r\nのデジタル紙面を削除しますか？"));
        // A right press on another row keeps the row the keys chose.
        QCOMPARE(pressKeys(view, {Qt::Key_PageUp}), QPoint(3, 1));
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, view->viewportRect(QRect(0, 2, 1, 1)).center());
        QVERIFY(dialog.mnusort->isVisible());
        dialog.mnusort->hide();
        QCOMPARE(dialog.grid().row(), 1);
        QCOMPARE(pressKeys(view, {Qt::Key_Down}), QPoint(0, 2));   // from the pressed column
        QVERIFY(!dialog.mnusort->isVisible());
    }
};

QTEST_MAIN(TestFrmdelete)
#include "tst_frmdelete.moc"
