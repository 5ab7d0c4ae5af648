// The version dialog: version text, the history toggle and the history's
// key filter.

#include "app/ui/frmversion.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestFrmversion : public QObject {
    Q_OBJECT

private slots:
    void showsVersionAndHistory()
    {
        frmversion dialog;
        QCOMPARE(dialog.lblversion->text(), QStringLiteral("Version 2.1.3"));
        const QString history = dialog.txtInfo->toPlainText();
        const QStringList lines = frmversion::historyText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QStringLiteral("2.1.3 02/03/05 紙面ダウンロード部分を修正しました"));
        QCOMPARE(lines.last(), QStringLiteral("1.0.0 00/06/19"));
        QVERIFY(!frmversion::historyText().endsWith(QLatin1Char('\n')));
        QCOMPARE(history.split(QLatin1Char('\n')).size(), 6);
    }

    // Open and close the history twice: back to the collapsed dialog with the
    // history below its visible area.
    void historyToggle()
    {
        frmversion dialog;
        dialog.show();
        const QString showCaption = QStringLiteral("履歴を表示(&O)");
        const QString hideCaption = QStringLiteral("履歴を閉じる(&X)");
        QCOMPARE(dialog.cmdinfo->text(), showCaption);
        QCOMPARE(dialog.height(), frmversion::collapsedHeight());
        QVERIFY(dialog.txtInfo->geometry().top() >= dialog.height());
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(dialog.cmdinfo, Qt::LeftButton);
            QCOMPARE(dialog.cmdinfo->text(), hideCaption);
            QCOMPARE(dialog.height(), frmversion::expandedHeight());
            QVERIFY(dialog.txtInfo->geometry().bottom() < dialog.height());
            QTest::mouseClick(dialog.cmdinfo, Qt::LeftButton);
            QCOMPARE(dialog.cmdinfo->text(), showCaption);
            QCOMPARE(dialog.height(), frmversion::collapsedHeight());
        }
    }

    // Only the arrow keys reach the history: they move the caret; every other
    // key changes nothing, and Escape or Enter in the history do not close
    // the dialog.
    void historyKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("caretMove");   // expected change of the caret position
        QTest::newRow("right") << int(Qt::Key_Right) << 1;
        QTest::newRow("left") << int(Qt::Key_Left) << -1;
        QTest::newRow("down") << int(Qt::Key_Down) << 1;   // to the next line (at least one step)
        QTest::newRow("letter") << int(Qt::Key_A) << 0;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 0;
        QTest::newRow("space") << int(Qt::Key_Space) << 0;
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
        else if (caretMove < 0)
            QCOMPARE(moved, caretMove);
        else
            QVERIFY(moved >= caretMove);
        QVERIFY(dialog.isVisible());
        QCOMPARE(finished.count(), 0);
    }

    // OK and the close box both end the dialog, so the frame's pressed
    // toolbar button is released either way.
    void closingEndsTheDialog_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("OK") << false;
        QTest::newRow("close box") << true;
    }
    void closingEndsTheDialog()
    {
        QFETCH(bool, closeBox);
        frmversion dialog;
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.open();
        if (closeBox)
            QVERIFY(dialog.close());
        else
            QTest::mouseClick(dialog.cmdend, Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestFrmversion)
#include "tst_frmversion.moc"
