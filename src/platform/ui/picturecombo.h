#pragma once
// The picture drop-downs: each item shows a picture of its list, at the
// list's size where the drop-down's field holds it, else scaled down (its
// proportions kept) to the field, so it is never cut.

#include <QSize>

class QComboBox;

namespace kelmon {

// Sets the size the combo box draws its items' pictures at, from the size of
// the pictures and the field of the box's present geometry.
void fitComboPictures(QComboBox *combo, const QSize &picture);

// Draws the items' own texts white, in the field and in the open list, where
// the picture names the item and its text would only repeat it beside it.
void whitenComboTexts(QComboBox *combo);

} // namespace kelmon
