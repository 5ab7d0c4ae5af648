#pragma once
// The message service over QMessageBox, installed by the program at start.

#include "platform/messages.h"

class QMessageBox;
class QWidget;

namespace kelmon {

class MessageBoxService : public MessageService {
public:
    // Boxes are shown over the active window, or over parent when none is active.
    explicit MessageBoxService(QWidget *parent = nullptr) : parent_(parent) {}
    void information(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text, bool defaultYes) override;
    void critical(const QString &title, const QString &text) override;
    void exclamation(const QString &title, const QString &text) override;

private:
    QWidget *owner() const;
    QWidget *parent_;
};

// Makes the box's text label as wide as the text's widest line (within the
// screen), so that lines break only where the text breaks them.
void fitTextLines(QMessageBox &box);

} // namespace kelmon
