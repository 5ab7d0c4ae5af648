#pragma once
// The splash window: shown once at start, above the main window, for 2000 ms
// from its activation.

#include <QWidget>

class QLabel;
class QTimer;

namespace kelmon {

class frmopening : public QWidget {
    Q_OBJECT
public:
    explicit frmopening(QWidget *owner);
    QString versionText() const;

    // Starts the 2000 ms after which the splash closes; the first call counts.
    // The splash's activation calls it, and the start-up once the main window
    // is there, for a desktop that never activates the splash.
    void countDown();

protected:
    bool event(QEvent *event) override;

private:
    QLabel *lblversion_ = nullptr;
    QTimer *Timer1 = nullptr;
    bool counting_ = false;
};

} // namespace kelmon
