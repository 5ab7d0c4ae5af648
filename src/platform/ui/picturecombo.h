#pragma once
// The picture drop-downs: each item shows a picture of its list, at the
// list's size where the drop-down's field holds it, else scaled down (its
// proportions kept) to the field, so it is never cut.

#include <QComboBox>
#include <QSize>

namespace kelmon {

// Sets the size the combo box draws its items' pictures at, from the size of
// the pictures and the field of the box's present geometry.
void fitComboPictures(QComboBox *combo, const QSize &picture);

// A picture drop-down whose pictures name its items: the field and the open
// list show the pictures alone. The items keep their texts, which the window
// reads and the keys search (typing a digit picks its item).
class PictureCombo : public QComboBox {
public:
    explicit PictureCombo(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kelmon
