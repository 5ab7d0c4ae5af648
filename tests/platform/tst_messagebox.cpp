// The message boxes of the program: a text's lines are not broken inside
// words on an 800-pixel screen.

#include "platform/ui/messagebox.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextLayout>
#include <QtTest>

class TestMessageBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAreNotBroken_data();
    void linesAreNotBroken();
};

// The number of lines the label shows at its width, counted by laying out
// its text independently of the box.
static int shownLines(const QLabel *label)
{
    int count = 0;
    for (const QString &paragraph : label->text().split(u'\n')) {
        QTextLayout layout(paragraph, label->font());
        layout.beginLayout();
        int n = 0;
        while (true) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(label->contentsRect().width());
            ++n;
        }
        layout.endLayout();
        count += std::max(n, 1);
    }
    return count;
}

void TestMessageBox::linesAreNotBroken_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("narrow screen") << QStringLiteral("本ソフトウェアは現在のディスプレイ解像度では起動できません\r\n\r\n"
                                                     "ディスプレイの解像度を 800×600ピクセル 以上にして下さい\r\n"
                                                     "なお、推奨する解像度は 1024×768ピクセル以上です");
    QTest::newRow("database size") << QStringLiteral("デジタル紙面のデータベースが 10Ｍバイトを越えています\r\n"
                                                     "このままでは処理が遅くなる可能性があります...\r\n\r\n"
                                                     "古いデジタル紙面を削除しますか？\r\n\r\n"
                                                     "現在のデータベースサイズは 10,000,001バイト です");
}

void TestMessageBox::linesAreNotBroken()
{
    QFETCH(QString, text);
    const QString plain = QString(text).replace("\r\n", "\n");
    QMessageBox box(QMessageBox::Information, QStringLiteral("警告です..."), plain, QMessageBox::Ok);
    kelmon::fitTextLines(box);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *label = box.findChild<QLabel *>("qt_msgbox_label");
    QVERIFY(label);
    QCOMPARE(shownLines(label), int(plain.count(u'\n') + 1));
    QVERIFY(box.frameGeometry().width() <= box.screen()->availableGeometry().width());
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
