#include "download/ui/frmdld.h"

#include "download/ui/frmdialoption.h"
#include "download/ui/frmpass.h"
#include "platform/fonts.h"
#include "platform/ui/enterpress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kelmon {

namespace {

QPushButton *button(const char *name, const QString &text, const QString &tip)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    pressOnEnter(b);
    return b;
}

} // namespace

frmdld::frmdld(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("デジタル紙面をダウンロードします..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cmdconect = button("cmdconect", QStringLiteral("問合せ(&Q)"), QStringLiteral("ダウンロード可能なデジタル紙面を問い合わせます"));
    cmddwld = button("cmddwld", QStringLiteral("ダウンロード(&D)"), QStringLiteral("デジタル紙面をダウンロードします"));
    cmdclse = button("cmdclse", QStringLiteral("終了(&X)"), QStringLiteral("終了します"));
    Command1 = button("Command1", QStringLiteral("キャンセル"), QStringLiteral("ダウンロードをキャンセルします"));
    cmdoption = button("cmdoption", QStringLiteral("接続設定(&O)"), QStringLiteral("インターネット接続の設定をします"));

    List1 = new QListWidget;
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(makeFont(QStringLiteral("ＭＳ ゴシック"), 10));
    List1->setMinimumSize(460, 200);
    Label3 = new QLabel;
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(makeFont(QStringLiteral("ＭＳ Ｐゴシック"), 10));
    Label3->setMinimumWidth(48);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setAutoFillBackground(true);
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);

    auto *count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("お客様のダウンロード可能回数は")));
    count->addWidget(Label3);
    count->addWidget(new QLabel(QStringLiteral("回です")));
    count->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdconect);
    buttons->addWidget(cmddwld);
    buttons->addWidget(Command1);
    buttons->addWidget(cmdoption);
    buttons->addStretch();
    buttons->addWidget(cmdclse);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("ダウンロード可能なデジタル紙面は以下の通りです...")));
    layout->addWidget(List1);
    layout->addLayout(count);
    layout->addLayout(buttons);
    layout->addWidget(ProgressBar1);
    layout->addWidget(StatusBar1);

    flow.showOptions = [this] {
        frmdialoption options(this);
        options.exec();
    };
    flow.showLogin = [this] {
        frmpass PForm(this);
        connect(&PForm, &frmpass::CloseWindow, &flow, &DownloadFlow::PForm_CloseWindow);
        PForm.exec();
    };
    connect(&flow, &DownloadFlow::changed, this, &frmdld::render);
    connect(&flow, &DownloadFlow::beep, this, [] { QApplication::beep(); });
    connect(&flow, &DownloadFlow::focusList, this, [this] { List1->setFocus(); });

    connect(cmdconect, &QPushButton::clicked, &flow, &DownloadFlow::cmdconect_Click);
    connect(cmddwld, &QPushButton::clicked, this, &frmdld::runDownload);
    connect(Command1, &QPushButton::clicked, &flow, &DownloadFlow::Command1_Click);
    connect(cmdoption, &QPushButton::clicked, &flow, &DownloadFlow::cmdoption_Click);
    connect(cmdclse, &QPushButton::clicked, this, &frmdld::cmdclse_Click);
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!syncing_)
            flow.List1_Click(row);
    });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] {
        if (cmddwld->isEnabled())
            runDownload();
    });
    List1->installEventFilter(this);

    flow.load();
}

void frmdld::runDownload() { flow.cmddwld_Click(); }

void frmdld::render()
{
    const DldButtons &b = flow.buttons();
    const bool cancelWas = Command1->isEnabled();
    // What comes on is enabled before what goes off is disabled, so that a
    // focused control that goes grey hands the focus on to an enabled one.
    const std::pair<QWidget *, bool> states[] = {
        {cmdconect, b.connect}, {cmddwld, b.download}, {cmdclse, b.close}, {Command1, b.cancel}, {List1, b.list}};
    for (const bool on : {true, false})
        for (const auto &[control, enabled] : states)
            if (enabled == on)
                control->setEnabled(on);
    // Style sheets and rows are set only when they change: applying a style
    // sheet re-polishes the widget, and the state changes with every progress
    // report of a transfer.
    if (shadedWhite_ != int(b.list)) {
        shadedWhite_ = b.list;
        const QString back = b.list ? QStringLiteral("#ffffff") : QStringLiteral("#c0c0c0");
        // The rows of a disabled list stay readable on its grey.
        List1->setStyleSheet(QStringLiteral("QListWidget { background: %1; } QListWidget:disabled { color: #404040; }").arg(back));
        Label3->setStyleSheet(QStringLiteral("QLabel { background: %1; }").arg(back));
    }

    syncing_ = true;
    // The rows shown are kept as a shared copy of the flow's: while the flow
    // keeps its list, comparing the two takes no look at a row.
    if (List1->count() != flow.rows().size() || shownRows_ != flow.rows()) {
        List1->clear();
        List1->addItems(flow.rows());
    }
    shownRows_ = flow.rows();
    if (List1->currentRow() != flow.selectedRow())
        List1->setCurrentRow(flow.selectedRow());
    syncing_ = false;

    Label3->setText(flow.count());
    StatusBar1->showMessage(flow.status());
    // A transfer without an announced size shows a busy bar, and only while it runs.
    ProgressBar1->setRange(0, flow.transferring() ? flow.progressMax() : 100);
    ProgressBar1->setValue(flow.progressValue());
    if (flow.hourglass())
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();

    // While a request runs Enter cancels it; once it has ended Enter tries
    // again: from the list when there is one, else by asking anew.
    if (b.cancel && !cancelWas)
        Command1->setFocus();
    else if (!b.cancel && cancelWas)
        (b.list && !flow.rows().isEmpty() ? static_cast<QWidget *>(List1) : cmdconect)->setFocus();
}

void frmdld::cmdclse_Click()
{
    flow.cmdclse_Click();
    close();
}

void frmdld::closeEvent(QCloseEvent *event)
{
    if (flow.queryUnload())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void frmdld::reject()
{
    // Escape and the title-bar button close only when nothing is in flight.
    if (flow.queryUnload())
        QDialog::reject();
}

bool frmdld::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (cmddwld->isEnabled()) {
                runDownload();
                return true;
            }
            break;
        case Qt::Key_Right:
            (cmddwld->isEnabled() ? cmddwld : cmdclse)->setFocus();
            return true;
        case Qt::Key_Left:
            cmdconect->setFocus();
            return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelmon
