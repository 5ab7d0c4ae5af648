// The version dialog: the history's key filter and the ways to close it.

#include "app/ui/frmversion.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestFrmversion : public QObject {
    Q_OBJECT

private slots:
    // Only the arrow keys reach the history: they move the caret; every other
    // key changes nothing, and Escape or Enter in the history do not close
    // the dialog.
    void historyKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("caretMove");   // expected change of the caret position
        QTest::newRow("right") << int(Qt::Key_Right) << 1;
        QTest::newRow("down") << int(Qt::Key_Down) << 1;   // to the next line (at least one step)
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0;
    }
    void historyKeyFilter()
    {
        QFETCH(int, key);
        QFETCH(int, caretMove);
        frmversion dialog;
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        dialog.cmdinfo_Click();
        dialog.txtInfo->setFocus();
        QTextCursor cursor = dialog.txtInfo->textCursor();
        cursor.setPosition(3);
        dialog.txtInfo->setTextCursor(cursor);

        QTest::keyClick(dialog.txtInfo, Qt::Key(key));
        QTest::keyClicks(dialog.txtInfo, QStringLiteral("x"));

        QCOMPARE(dialog.txtInfo->toPlainText(), QString(frmversion::historyText()).replace("\r\n", "\n"));
        const int moved = dialog.txtInfo->textCursor().position() - 3;
        if (caretMove == 0)
            QCOMPARE(moved, 0);
        else
            QVERIFY(moved >= caretMove);
        QVERIFY(dialog.isVisible());
        QCOMPARE(finished.count(), 0);
    }

    // The close box ends the dialog, so the frame's pressed toolbar button
    // is released.
    void closeBoxEndsTheDialog()
    {
        frmversion dialog;
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        QVERIFY(dialog.close());
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_MAIN(TestFrmversion)
#include "tst_frmversion.moc"
