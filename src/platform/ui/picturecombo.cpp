#include "platform/ui/picturecombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

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

namespace {

// The list's rows: background, highlight and picture, no text.
class PictureOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text.clear();
        option->features &= ~QStyleOptionViewItem::HasDisplay;
    }
};

} // namespace

PictureCombo::PictureCombo(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new PictureOnlyDelegate(this));
}

void PictureCombo::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace kelmon
