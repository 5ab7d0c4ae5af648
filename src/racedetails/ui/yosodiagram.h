#pragma once
// A diagram of the predictions window (the waiting formation, the boats near
// the start line): pictures of the picture lists painted at places given in
// twips of the window. The placements are kept as given, so tests read where
// each boat and wake stands rather than pixels.

#include "racedetails/yosopanel.h"

#include <QVector>
#include <QWidget>

namespace kelmon::racedetails {

class YosoDiagram : public QWidget {
    Q_OBJECT
public:
    // The diagram covers `area` (twips of the window) and paints only there;
    // a shift (twips) draws the area and its pictures that far to the right.
    YosoDiagram(const QRect &area, QWidget *parent, int shift = 0);

    // The pictures in painting order (later ones on top); null pictures are
    // kept in the list but paint nothing.
    void setPlacements(const QVector<YosoPlacement> &placements);
    const QVector<YosoPlacement> &placements() const { return placements_; }
    // The shown pictures only, in painting order.
    QVector<YosoPlacement> shown() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect areaTwips_;
    QVector<YosoPlacement> placements_;
};

} // namespace kelmon::racedetails
