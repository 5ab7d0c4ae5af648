#pragma once
// The log-in dialog: asks for the user name and password of the download
// service, may keep them in the per-user settings, and hands them to its
// creator through CloseWindow (OK and Cancel only).

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kelmon {

class frmpass : public QDialog {
    Q_OBJECT
public:
    explicit frmpass(QWidget *parent = nullptr);

    QLineEdit *Text1;        // user name
    QLineEdit *Text2;        // password, shown as "*"
    QCheckBox *Check1;       // keep user name and password
    QPushButton *Command2;   // OK
    QPushButton *Command1;   // Cancel

    void Command2_Click();
    void Command1_Click();

Q_SIGNALS:
    void CloseWindow(const QString &usrName, const QString &pasWord, bool cFlag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Escape cancels as the Cancel button does.
    void keyPressEvent(QKeyEvent *event) override;
    // Every way of closing ends here: the settings are kept unless cancelled.
    void done(int result) override;

private:
    void Form_Load();
    void Form_QueryUnload();
    bool cancelled_ = false;
    bool unloaded_ = false;
};

} // namespace kelmon
