#pragma once
// The splash window: shown once at start, above the main window, for 2000 ms.

#include <QWidget>

class QLabel;

namespace kelmon {

class frmopening : public QWidget {
    Q_OBJECT
public:
    explicit frmopening(QWidget *owner);
    QString versionText() const;

private:
    QLabel *lblversion_ = nullptr;
};

} // namespace kelmon
