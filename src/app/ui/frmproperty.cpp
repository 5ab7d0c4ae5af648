#include "app/ui/frmproperty.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/settingsrow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kVenueColumns = 6;
constexpr QChar kIdeographicBlank(0x3000);

} // namespace

QString frmproperty::venueCaption(int kyosocode)
{
    QString name = modkelmon::get_kyoso_name(kyosocode);
    if (name.size() == 1)
        name.prepend(kIdeographicBlank);
    return name;
}

frmproperty::frmproperty(QWidget *parent)
    : QDialog(parent), venues_(new QButtonGroup(this))
{
    setWindowTitle(QStringLiteral("ケルモンデジタルのプロパティを設定します..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Venue at start: two options and the 24 venues in code order.
    auto *startGroup = new QButtonGroup(this);
    optkyosocode[0] = new QRadioButton(QStringLiteral("何もしない"));
    optkyosocode[1] = new QRadioButton(kelmon::startupSettingCaption(kelmon::StartupSetting::Venue));
    auto *venueGrid = new QGridLayout;
    for (int i = 0; i < int(opts.size()); ++i) {
        opts[i] = new QRadioButton(venueCaption(i + 1));
        venues_->addButton(opts[i], i);
        venueGrid->addWidget(opts[i], i / kVenueColumns, i % kVenueColumns);
    }
    auto *venueBox = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        startGroup->addButton(optkyosocode[i], i);
        venueBox->addWidget(optkyosocode[i]);
    }
    auto *venueIndent = new QHBoxLayout;
    venueIndent->addSpacing(20);
    venueIndent->addLayout(venueGrid);
    venueBox->addLayout(venueIndent);
    auto *venueFrame = new QGroupBox;
    venueFrame->setLayout(venueBox);
    connect(startGroup, &QButtonGroup::idClicked, this, &frmproperty::optkyosocode_Click);

    chkcheckflag = new QCheckBox(kelmon::startupSettingCaption(kelmon::StartupSetting::SizeCheck));
    chkregstflag = new QCheckBox(kelmon::startupSettingCaption(kelmon::StartupSetting::RegistrationOffer));
    auto *startFrame = new QGroupBox(QStringLiteral("起動時の設定"));
    auto *startBox = new QVBoxLayout(startFrame);
    startBox->addWidget(chkcheckflag);
    startBox->addWidget(chkregstflag);

    auto *downloadGroup = new QButtonGroup(this);
    optdownlflag[0] = new QRadioButton(QStringLiteral("何もしない"));
    optdownlflag[1] = new QRadioButton(QStringLiteral("自動的に登録画面を開く"));
    auto *downloadFrame = new QGroupBox(kelmon::startupSettingCaption(kelmon::StartupSetting::AfterDownload));
    auto *downloadBox = new QVBoxLayout(downloadFrame);
    for (int i = 0; i < 2; ++i) {
        downloadGroup->addButton(optdownlflag[i], i);
        downloadBox->addWidget(optdownlflag[i]);
    }

    cmdexec = new QPushButton(QStringLiteral("ＯＫ"));
    cmdexec->setToolTip(QStringLiteral("この設定を保存します"));
    cmdexec->setDefault(true);
    cmdcancel = new QPushButton(QStringLiteral("キャンセル"));
    cmdcancel->setToolTip(QStringLiteral("キャンセルします"));
    connect(cmdexec, &QPushButton::clicked, this, &frmproperty::cmdexec_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmproperty::cmdcancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdexec);
    buttons->addWidget(cmdcancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(venueFrame);
    layout->addWidget(startFrame);
    layout->addWidget(downloadFrame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    disp_m_kanri();
}

void frmproperty::clearVenues()
{
    // An exclusive group keeps one button checked; lift that while clearing.
    venues_->setExclusive(false);
    for (QRadioButton *venue : opts)
        venue->setChecked(false);
    venues_->setExclusive(true);
}

void frmproperty::disp_m_kanri()
{
    const int venue = modkelmon::kyosocode;
    if (venue >= 1 && venue <= int(opts.size())) {
        optkyosocode[1]->setChecked(true);
        opts[venue - 1]->setChecked(true);
    } else {
        // No venue, or a stored code that names none: nothing opens at start.
        optkyosocode[0]->setChecked(true);
        for (QRadioButton *button : opts)
            button->setEnabled(false);
    }
    chkcheckflag->setChecked(modkelmon::checkflag == 1);
    chkregstflag->setChecked(modkelmon::regstflag == 1);
    if (modkelmon::downlflag == 0 || modkelmon::downlflag == 1)
        optdownlflag[modkelmon::downlflag]->setChecked(true);
}

void frmproperty::optkyosocode_Click(int index)
{
    if (index == 0)
        clearVenues();
    for (QRadioButton *venue : opts)
        venue->setEnabled(index > 0);
}

void frmproperty::cmdexec_Click()
{
    qint16 venue = 0;
    if (optkyosocode[1]->isChecked() && venues_->checkedId() >= 0)
        venue = static_cast<qint16>(venues_->checkedId() + 1);
    modkelmon::kyosocode = venue;
    modkelmon::checkflag = chkcheckflag->isChecked() ? 1 : 0;
    modkelmon::regstflag = chkregstflag->isChecked() ? 1 : 0;
    if (optdownlflag[0]->isChecked())
        modkelmon::downlflag = 0;
    else if (optdownlflag[1]->isChecked())
        modkelmon::downlflag = 1;
    modkelmon::guarded([] { kelmon::write_startup_settings(); });
    accept();
}

void frmproperty::cmdcancel_Click() { reject(); }

void frmproperty::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
}
