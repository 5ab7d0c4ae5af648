#pragma once
// The connection options: dial a dial-up entry before logging in, or use the
// connection there is without a modem. Saved as DSET, DCK and DNAME.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace kelmon {

class frmdialoption : public QDialog {
    Q_OBJECT
public:
    explicit frmdialoption(QWidget *parent = nullptr);

    QComboBox *Combo1;     // dial-up entries
    QCheckBox *Check1;     // no modem
    QPushButton *cmdok;
    QPushButton *cmdcancel;

    void Check1_Click();
    void cmdok_Click();
};

} // namespace kelmon
