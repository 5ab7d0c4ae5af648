#pragma once
// The version dialog: the program's version number and, on demand, its
// version history in a read-only text that only the arrow keys move in.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelmon {
// The program's own version, "2.1.3".
QString programVersion();
} // namespace kelmon

class frmversion : public QDialog {
    Q_OBJECT
public:
    explicit frmversion(QWidget *parent = nullptr);

    QLabel *lblversion;
    QPushButton *cmdend;
    QPushButton *cmdinfo;
    QPlainTextEdit *txtInfo;

    // The version history, newest first, lines joined by CR LF.
    static QString historyText();

    bool historyShown() const;

    // Dialog heights in pixels, collapsed and with the history open.
    static int collapsedHeight();
    static int expandedHeight();

public slots:
    void cmdinfo_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setClientHeight(int height);
};
