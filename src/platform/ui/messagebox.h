#pragma once
// The message service over QMessageBox, installed by the program at start.

#include "platform/messages.h"

#include <QPointer>
#include <QWidget>

class QMessageBox;

namespace kelmon {

class MessageBoxService : public MessageService {
public:
    // Boxes are shown over the open modal dialog, else over the main window
    // (parent), else over the active window where that is an ordinary one.
    explicit MessageBoxService(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void information(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text, bool defaultYes) override;
    void critical(const QString &title, const QString &text) override;
    void exclamation(const QString &title, const QString &text) override;

private:
    QWidget *owner() const;
    QPointer<QWidget> parent_;
};

// Makes the box's text label as wide as the text's widest line (within the
// screen), so that lines break only where the text breaks them; a text too
// tall for the screen scrolls, the box's buttons staying on the screen.
void fitTextLines(QMessageBox &box);

} // namespace kelmon
