#pragma once
// The almanac window: the almanac facts of the selected paper day, the
// semi-final system of its meeting and the notices for new motors and boats.
// The opener gives the context and the caption; the window reads the
// database once, on its first activation.

#include "app/ui/viewerwindow.h"

#include <array>

class QLabel;

class frmkoyomi : public kelmon::ViewerWindow {
    Q_OBJECT
public:
    explicit frmkoyomi(QWidget *parent = nullptr);

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

    // Right end of the separator lines, in pixels of this widget.
    int separatorEnd() const { return separatorEnd_; }

    QSize sizeHint() const override;

protected:
    // Fills the window; a database failure ends the program through the
    // fatal database exit.
    void firstActivation() override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *addLabel(const QString &text, int left, int top, int width);
    int outerWidth() const;

    int separatorEnd_;
};
