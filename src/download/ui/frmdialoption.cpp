#include "download/ui/frmdialoption.h"

#include "download/dialup.h"
#include "download/setupregistry.h"
#include "platform/messages.h"
#include "platform/ui/enterpress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelmon {

frmdialoption::frmdialoption(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("接続の設定をします..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Combo1 = new QComboBox;
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(260);
    Check1 = new QCheckBox(QStringLiteral("インターネット接続にモデムを使用しない"));
    Check1->setObjectName(QStringLiteral("Check1"));
    cmdok = new QPushButton(QStringLiteral("接続の設定を保存(&S)"));
    cmdok->setObjectName(QStringLiteral("cmdok"));
    cmdcancel = new QPushButton(QStringLiteral("キャンセル"));
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    // No default button: Enter in the list or on the box presses nothing.
    pressOnEnter(cmdok);
    pressOnEnter(cmdcancel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdcancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("利用するダイヤルアップ接続")));
    layout->addWidget(Combo1);
    layout->addWidget(Check1);
    layout->addLayout(buttons);

    connect(Check1, &QCheckBox::toggled, this, &frmdialoption::Check1_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmdialoption::cmdok_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &QDialog::reject);

    // Load: the entries in their order, the saved one selected (exact match).
    const QString list = dialUp().get_rasentrylist();
    if (!list.isEmpty())
        Combo1->addItems(list.split(u','));
    Combo1->setCurrentIndex(Combo1->findText(setup::value(QStringLiteral("DNAME")), Qt::MatchExactly | Qt::MatchCaseSensitive));
    Check1->setChecked(setup::number(QStringLiteral("DCK"), Check1->isChecked() ? 1 : 0) == 1);
    Check1_Click();
}

void frmdialoption::Check1_Click()
{
    // Without a modem there is nothing to choose: the list shows the button
    // face; otherwise the window background of an input box.
    const bool noModem = Check1->isChecked();
    Combo1->setEnabled(!noModem);
    // A border of its own makes the style paint the colour flat.
    Combo1->setStyleSheet(QStringLiteral("QComboBox { background: palette(%1); border: 1px solid palette(mid);"
                                         " padding: 1px 3px; }")
                              .arg(noModem ? QStringLiteral("button") : QStringLiteral("base")));
}

void frmdialoption::cmdok_Click()
{
    if (!Check1->isChecked() && Combo1->currentIndex() < 0) {
        messages().information(QStringLiteral("警告です..."), QStringLiteral("利用するダイヤルアップ接続を選択して下さい"));
        return;
    }
    setup::setValue(QStringLiteral("DCK"), Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    setup::setValue(QStringLiteral("DNAME"), Combo1->currentText());
    setup::setValue(QStringLiteral("DSET"), QStringLiteral("True"));
    accept();
}

} // namespace kelmon
