#include "progressstatus.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace kelmon {

ProgressStatus::ProgressStatus(int textWidth, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("stbtemp"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    text_ = new QLabel(this);
    text_->setFrameShape(QFrame::Panel);
    text_->setFrameShadow(QFrame::Sunken);
    text_->setFixedWidth(textWidth);
    layout->addWidget(text_);
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto *inner = new QHBoxLayout(panel);
    inner->setContentsMargins(3, 2, 3, 2);
    bar_ = new QProgressBar(panel);
    bar_->setObjectName(QStringLiteral("prgtemp"));
    bar_->setTextVisible(false);
    bar_->setMaximumHeight(9);
    bar_->setVisible(false);
    inner->addWidget(bar_);
    layout->addWidget(panel, 1);
}

void ProgressStatus::start(int maximum)
{
    bar_->setRange(0, maximum);
    bar_->setValue(0);
    bar_->setVisible(true);
}

void ProgressStatus::restart() { bar_->setValue(0); }

void ProgressStatus::step()
{
    if (bar_->value() < bar_->maximum())
        bar_->setValue(bar_->value() + 1);
}

void ProgressStatus::finish()
{
    text_->clear();
    bar_->setVisible(false);
}

bool ProgressStatus::running() const { return !bar_->isHidden(); }
void ProgressStatus::setText(const QString &text)
{
    text_->setText(text);
    // Painted at once: the step that follows (extraction, compaction) may
    // hold the event loop until it ends, and its status would never show.
    text_->repaint();
}

void ProgressStatus::setTextWidth(int pixels) { text_->setFixedWidth(pixels); }

void ProgressStatus::fitTexts(const QStringList &texts)
{
    const QMargins frame = text_->contentsMargins();
    const int padding = frame.left() + frame.right() + 2 * text_->margin() + text_->fontMetrics().averageCharWidth();
    int width = text_->width();
    for (const QString &t : texts)
        width = qMax(width, text_->fontMetrics().horizontalAdvance(t) + padding);
    text_->setFixedWidth(width);
}
QString ProgressStatus::text() const { return text_->text(); }
int ProgressStatus::value() const { return bar_->value(); }
int ProgressStatus::maximum() const { return bar_->maximum(); }

} // namespace kelmon
