#pragma once
// The two-panel status bar of the long-running dialogs: status text in the
// first panel, a progress bar (hidden while idle) over the second. The bar's
// visibility is the dialog's running flag.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace kelmon {

class ProgressStatus : public QWidget {
    Q_OBJECT
public:
    // textWidth: width of the first panel in pixels.
    ProgressStatus(int textWidth, QWidget *parent = nullptr);

    void start(int maximum);       // value 0, bar shown
    void restart();                // value 0
    void step();                   // +1 while below the maximum
    void finish();                 // bar hidden, text cleared
    bool running() const;
    void setText(const QString &text);   // shown at once, without waiting for the event loop
    void setTextWidth(int pixels);
    // Widens the text panel so that each of texts shows whole.
    void fitTexts(const QStringList &texts);
    QString text() const;
    int value() const;
    int maximum() const;

private:
    QLabel *text_;
    QProgressBar *bar_;
};

} // namespace kelmon
