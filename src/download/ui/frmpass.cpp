#include "download/ui/frmpass.h"

#include "download/setupregistry.h"
#include "platform/messages.h"
#include "platform/ui/enterpress.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelmon {

namespace {

const QString kSampleUser = QStringLiteral("tarnu");
const QString kUserError = QStringLiteral("ﾕｰｻﾞｰ名ｴﾗｰ");

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

} // namespace

frmpass::frmpass(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("パスワードを入力します..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Text1 = new QLineEdit;
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2 = new QLineEdit;
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setEchoMode(QLineEdit::Password);
    // Every character of the password shows as "*", whatever the style's own mark.
    Text2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Check1 = new QCheckBox(QStringLiteral("ユーザ名とパスワードを保存します"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Command2 = new QPushButton(QStringLiteral("ＯＫ"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("このユーザ名とパスワードで問い合わせをします"));
    Command1 = new QPushButton(QStringLiteral("キャンセル"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("キャンセルします"));
    // Enter in the boxes moves on; it presses only the focused button.
    pressOnEnter(Command2);
    pressOnEnter(Command1);

    auto *boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("ユーザ名")), 0, 0);
    boxes->addWidget(Text1, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("パスワード")), 1, 0);
    boxes->addWidget(Text2, 1, 1);

    auto *sample = new QLabel(QStringLiteral("サンプルを取得する場合は ユーザ名とパスワードに<br>"
                                             "半角小文字で <b>tarnu</b> と入力して下さい<br>"
                                             "（大文字と小文字は区別されません）"));
    sample->setTextFormat(Qt::RichText);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("お客様の ユーザ名 と パスワード を入力して下さい")));
    layout->addLayout(boxes);
    layout->addWidget(Check1);
    layout->addWidget(sample);
    layout->addLayout(buttons);

    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    Check1->installEventFilter(this);
    connect(Command2, &QPushButton::clicked, this, &frmpass::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmpass::Command1_Click);
    Form_Load();
}

void frmpass::Form_Load()
{
    const int pck = setup::number(QStringLiteral("PCK"), Check1->isChecked() ? 1 : 0);
    Check1->setChecked(pck == 1);
    if (pck == 1) {
        Text1->setText(setup::value(QStringLiteral("USR"), Text1->text()));
        Text2->setText(setup::value(QStringLiteral("PSS"), Text2->text()));
    }
    Text1->selectAll();
    Text1->setFocus();
    cancelled_ = false;
}

void frmpass::Command2_Click()
{
    const QString user = Text1->text();
    if (user.isEmpty()) {
        messages().exclamation(kUserError, QStringLiteral("ﾕｰｻﾞｰ名を入力して下さい。"));
        Text1->setFocus();
        return;
    }
    if (user.compare(kSampleUser, Qt::CaseInsensitive) != 0 && !user.contains(u'@')) {
        messages().exclamation(kUserError, QStringLiteral("ﾕｰｻﾞｰ名にはﾒｰﾙｱﾄﾞﾚｽを指定して下さい。"));
        Text1->selectAll();
        Text1->setFocus();
        return;
    }
    if (Text2->text().isEmpty()) {
        messages().exclamation(QStringLiteral("ﾊﾟｽﾜｰﾄﾞｴﾗｰ"), QStringLiteral("ﾊﾟｽﾜｰﾄﾞを入力して下さい。"));
        Text2->setFocus();
        return;
    }
    emit CloseWindow(user, Text2->text(), false);
    accept();
}

void frmpass::Command1_Click()
{
    cancelled_ = true;
    emit CloseWindow(QString(), QString(), true);
    reject();
}

void frmpass::Form_QueryUnload()
{
    if (cancelled_)
        return;
    const bool keep = Check1->isChecked();
    setup::setValue(QStringLiteral("PCK"), keep ? QStringLiteral("1") : QStringLiteral("0"));
    if (keep) {
        setup::setValue(QStringLiteral("USR"), Text1->text());
        setup::setValue(QStringLiteral("PSS"), Text2->text());
    } else {
        // Not kept means not kept: an earlier user name and password go.
        setup::remove(QStringLiteral("USR"));
        setup::remove(QStringLiteral("PSS"));
    }
}

void frmpass::done(int result)
{
    if (!unloaded_) {
        unloaded_ = true;
        Form_QueryUnload();
    }
    QDialog::done(result);
}

void frmpass::keyPressEvent(QKeyEvent *event)
{
    // Left to the dialog, Escape would close it as the title-bar button does:
    // the typed settings kept and no answer given, so the download would go
    // on with the previous user name and password.
    if (event->matches(QKeySequence::Cancel)) {
        Command1_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmpass::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == Text1 || watched == Text2) {
        if (isEnter(key)) {
            if (watched == Text1) {
                Text2->selectAll();
                Text2->setFocus();
            } else {
                Command2->setFocus();
            }
            return true;
        }
        // Blanks and "=" never enter the boxes.
        if (key->text() == u" " || key->text() == u"=")
            return true;
    } else if (watched == Check1 && isEnter(key)) {
        // Toggles an unchecked or checked box (a greyed one stays), moves on
        // to OK, and lets the key go on to the box, which does nothing more.
        if (Check1->checkState() != Qt::PartiallyChecked)
            Check1->setChecked(!Check1->isChecked());
        Command2->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelmon
