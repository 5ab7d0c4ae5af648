#include "racedetails/ui/frmzensodisp.h"

#include "common/modkelmon.h"
#include "common/resultcodes.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/twips.h"
#include "platform/yield.h"
#include "racedetails/zenso.h"

#include <QFrame>
#include <QLabel>

namespace kelmon::racedetails {

namespace {

constexpr int kWidth = 4815;
constexpr int kHeight = 2580;
constexpr const char16_t *kLegend[5] = {u"予選一般", u"ドリーム", u"準 優 戦", u"選 抜 戦", u"優 勝 戦"};

void paintBack(QLabel *label, std::optional<QRgb> color)
{
    label->setAutoFillBackground(bool(color));
    QPalette p = label->palette();
    p.setColor(QPalette::Window, color ? QColor(*color) : label->parentWidget()->palette().color(QPalette::Window));
    label->setPalette(p);
}

} // namespace

frmzensodisp::frmzensodisp(QWidget *parent) : ViewerWindow(parent)
{
    setObjectName(QStringLiteral("frmzensodisp"));
    setPreferredSize({twipsToPixels(kWidth), twipsToPixels(kHeight)});
    const QFont font = makeFont(DefaultFontName, 9);
    setFont(font);

    lblcomment = new QLabel(this);
    lblcomment->setObjectName(QStringLiteral("lblcomment"));
    // The whole line of the font: the g of ㎏ reaches below the characters.
    lblcomment->setGeometry(wholeLineRect(twipsRect(120, 120, 4515, 180), font));
    // An etched rule under the description: a grey line with a white one below.
    const QRgb lineColors[2] = {0x808080, 0xFFFFFF};
    for (int i = 0; i < 2; ++i) {
        QFrame *line = line1[std::size_t(i)] = new QFrame(this);
        line->setAutoFillBackground(true);
        QPalette p = line->palette();
        p.setColor(QPalette::Window, QColor(lineColors[i]));
        line->setPalette(p);
        line->setGeometry(0, twipsToPixels(360 + 15 * i), twipsToPixels(kWidth - 115), 1);
    }
    for (int d = 1; d <= 7; ++d) {
        auto *title = new QLabel(QStringLiteral("%1日目").arg(d), this);
        title->setGeometry(twipsRect(240, 480 + 240 * (d - 1), 450, 180));
    }
    for (int k = 0; k < kZensoCells; ++k) {
        QLabel *&cell = lblcyakucode[std::size_t(k)];
        cell = new QLabel(this);
        cell->setObjectName(QStringLiteral("lblcyakucode_%1").arg(k));
        cell->setAlignment(Qt::AlignCenter);
        // 660 twips, centred where 600 were, hold "失格 外" in the Gothic drawn here.
        cell->setGeometry(twipsRect((k % 2 == 0 ? 960 : 1800) - 30, 480 + 240 * (k / 2), 660, 180));
    }
    for (int i = 0; i < 5; ++i) {
        QLabel *&l = legend[std::size_t(i)];
        l = new QLabel(QString::fromUtf16(kLegend[i]), this);
        l->setAlignment(Qt::AlignCenter);
        // Bands of 225 twips keep the glyphs of the font drawn here off the
        // neighbouring bands.
        l->setGeometry(twipsRect(2970, 1200 + 225 * i, 1605, 225));
        const auto color = modkelmon::seiseki_class_color(i + 1);
        paintBack(l, color ? std::optional<QRgb>(QRgb(*color)) : std::nullopt);
    }
}

void frmzensodisp::firstActivation()
{
    yieldToEvents();
    disp_zenso(cint16(val(context().flag)));
}

void frmzensodisp::disp_zenso(int flag)
{
    lblcomment->clear();
    for (QLabel *cell : lblcyakucode) {
        cell->clear();
        paintBack(cell, std::nullopt);
    }
    const ViewerContext &c = context();
    std::optional<ZensoPanel> panel;
    const bool read = modkelmon::guarded([&] {
        HourglassGuard hourglass;
        panel = racedetails::disp_zenso({c.setuscode, c.datescnt, c.racesno, c.wakusno}, flag);
    });
    if (!read || !panel)
        return;
    lblcomment->setText(panel->comment);
    for (int k = 0; k < kZensoCells; ++k) {
        const ZensoCell &cell = panel->cells[std::size_t(k)];
        lblcyakucode[std::size_t(k)]->setText(cell.text);
        paintBack(lblcyakucode[std::size_t(k)], cell.color);
    }
}

void frmzensodisp::resizeEvent(QResizeEvent *event)
{
    ViewerWindow::resizeEvent(event);
    const int right = width() - twipsToPixels(115);
    for (QFrame *line : line1)
        if (right > 0)
            line->resize(right, 1);
}

} // namespace kelmon::racedetails
