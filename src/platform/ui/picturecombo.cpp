#include "platform/ui/picturecombo.h"

#include <QAbstractItemView>
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

void whitenComboTexts(QComboBox *combo)
{
    // The list is a window of its own and takes nothing from the box's
    // palette; the button's arrow keeps its dark colour so it stays visible.
    for (QWidget *w : {static_cast<QWidget *>(combo), static_cast<QWidget *>(combo->view())}) {
        QPalette white = w->palette();
        white.setColor(QPalette::Text, Qt::white);
        w->setPalette(white);
    }
}

} // namespace kelmon
