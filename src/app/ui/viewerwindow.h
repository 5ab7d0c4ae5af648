#pragma once
// Base of the viewer windows (race card, almanac, lists, ...): the hidden
// context fields the opener writes, the caption, and the one-time load on
// the first activation.

#include <QString>
#include <QWidget>

namespace kelmon {

// The selection a viewer window was opened with; every field is text and "0"
// means none.
struct ViewerContext {
    QString kyosocode = QStringLiteral("0");   // lblkyosocode
    QString setuscode = QStringLiteral("0");   // lblsetuscode
    QString datescnt = QStringLiteral("0");    // lbldatescnt
    QString date = QStringLiteral("0");        // lbldate, yyyymmdd
    QString racesno = QStringLiteral("1");     // lblracesno
};

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget *parent = nullptr);

    const ViewerContext &context() const { return context_; }
    void setContext(const ViewerContext &context) { context_ = context; }

    // The race-card format menu is shown only while a window that answers
    // true is the active child.
    virtual bool isRaceCard() const { return false; }

    // Runs the first-activation load now if it has not run yet (the frame
    // calls this when the window first becomes the active child).
    void activateFirstTime();

protected:
    // Reads the context and fills the window, once.
    virtual void firstActivation() = 0;
    void showEvent(QShowEvent *event) override;

private:
    ViewerContext context_;
    bool activated_ = false;
};

} // namespace kelmon
