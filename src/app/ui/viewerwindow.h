#pragma once
// Base of the viewer windows (race card, almanac, lists, ...): the hidden
// context fields the opener writes, the caption, and the one-time load on
// the first activation.

#include <QSize>
#include <optional>
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
    QString tourokuno = QStringLiteral("0");   // lbltourokuno: the racer of a racer detail
    QString wakusno = QStringLiteral("0");     // lblwakusno: the boat of a previous-runs window
    QString flag = QStringLiteral("0");        // lblflag: which previous runs, 1..8
};

class GridModel;

// What follows a window's title in its caption.
enum class CaptionTail {
    None,       // the title alone
    Date,       // "  (venue yy/mm/dd)"
    DateRace,   // "  (venue yy/mm/dd RR R)"
};

// A caption built from its parts: the title, then the venue name without
// blanks and the context's date as yy/mm/dd, and the race right-aligned in
// two places followed by "R" where the tail asks for it. Without a venue
// text the name is that of the context's venue code.
QString viewerCaption(const QString &title, const QString &venue, const ViewerContext &context, CaptionTail tail);
QString viewerCaption(const QString &title, const ViewerContext &context, CaptionTail tail);

class ViewerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget *parent = nullptr);

    const ViewerContext &context() const { return context_; }
    void setContext(const ViewerContext &context) { context_ = context; }

    // Sets the caption from its parts and keeps them, so a window that
    // switches its race or day rebuilds it with refreshCaption(). The venue,
    // where given, is the text the opener shows for it (the main window's
    // header); otherwise the name of the context's venue.
    void setCaption(const QString &title, CaptionTail tail, std::optional<QString> venue = std::nullopt);
    void refreshCaption();
    QString captionTitle() const { return captionTitle_; }
    // The caption of the kept parts for a context shown in its place.
    QString caption(const ViewerContext &shown) const;

    // The grid that the main window's popup menu `menu` acts on, or nullptr
    // when this window has none for it.
    virtual GridModel *popupGrid(const QString &menu) { (void)menu; return nullptr; }

    // The race-card format menu is shown only while a window that answers
    // true is the active child.
    virtual bool isRaceCard() const { return false; }

    // Runs the first-activation load now if it has not run yet (the frame
    // calls this when the window first becomes the active child).
    void activateFirstTime();

    // The size the window opens with (its client area).
    QSize sizeHint() const override;
    void setPreferredSize(const QSize &size) { preferred_ = size; }

    // Gives the window a new client height, as a window does that opens or
    // closes a part of itself. Inside the frame the child window grows or
    // shrinks by what the client area gains, and one placed low moves up so
    // its grown part stays in sight. A maximized or minimized child keeps its
    // state and size: the new height is what it gets back when restored.
    void setClientHeight(int height);

protected:
    // Reads the context and fills the window, once.
    virtual void firstActivation() = 0;
    void showEvent(QShowEvent *event) override;

private:
    // Resizes the child window so that this client area is height tall.
    void fitClientHeight(int height);

    ViewerContext context_;
    QString captionTitle_;
    CaptionTail captionTail_ = CaptionTail::None;
    std::optional<QString> captionVenue_;
    bool activated_ = false;
    QSize preferred_{640, 480};
    // The client height a maximized or minimized child takes when restored.
    std::optional<int> restoreHeight_;
    bool restoreWatched_ = false;
};

} // namespace kelmon
