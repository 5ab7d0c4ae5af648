#include "platform/ui/picturecombo.h"

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace kelmon {

void fitComboPictures(QComboBox *combo, const QSize &picture)
{
    combo->ensurePolished();
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.subControls = QStyle::SC_All;
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    // The style draws a picture 2 pixels in from the field's left.
    const QSize room(field.width() - 4, field.height());
    combo->setIconSize(room.isValid() ? picture.scaled(room.boundedTo(picture), Qt::KeepAspectRatio) : picture);
}

} // namespace kelmon
