#pragma once
// The start diagram under the race result: the water picture in its frame,
// the start line and a second line, and per entry course the racer's text,
// the boat of the racer's frame and its wave, painted where the placements
// say. Tests read the placements, not pixels.

#include "racedetails/startdiagram.h"

#include <QWidget>

namespace kelmon::racedetails {

class StartDiagramView : public QWidget {
    Q_OBJECT
public:
    explicit StartDiagramView(QWidget *parent = nullptr);

    void setPlacements(const StartDiagram &placements);
    void clear();
    const StartDiagram &placements() const { return placements_; }

    // The area of the result window (twips) the view covers.
    static QRect areaTwips();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    StartDiagram placements_;
};

} // namespace kelmon::racedetails
