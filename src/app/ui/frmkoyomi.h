#pragma once
// The almanac window: the almanac facts of the selected paper day, the
// semi-final system of its meeting and the notices for new motors and boats.
// The opener fills the context labels and the caption; the window reads the
// database once, on its first activation.

#include <QWidget>
#include <array>

class QLabel;

class frmkoyomi : public QWidget {
    Q_OBJECT
public:
    explicit frmkoyomi(QWidget *parent = nullptr);

    // Context fields (hidden), written by the opener before the window shows.
    QLabel *lblkyosocode;
    QLabel *lblsetuscode;
    QLabel *lbldatescnt;
    QLabel *lbldate;

    // Value labels.
    QLabel *lblkyuse;
    QLabel *lblrokki;
    QLabel *lblzikkan;
    QLabel *lbleto;
    QLabel *lbltime_08;
    QLabel *lbltime_10;
    std::array<QLabel *, 2> lblyusyuflag{};
    QLabel *lblmtnewflag;
    QLabel *lblbtnewflag;

    // Fills every label from the database; throws kelmon::DbError.
    void disp_f_setfg();

    // Runs the activation work: hides the race-card format menu every time,
    // fills the window on the first activation (a database failure ends the
    // program through the fatal database exit). Called from the window's own
    // activation event; the frame may also call it when the child becomes active.
    void activate();

    // Right end of the separator lines, in pixels of this widget.
    int separatorEnd() const { return separatorEnd_; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *addLabel(const QString &text, int left, int top, int width);
    int outerWidth() const;

    bool firstActivation_ = false;
    int separatorEnd_;
};
