#include "frmdelete.h"

#include "common/codetables.h"
#include "common/modkelmon.h"
#include "common/paper_schema.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "platform/ui/enterpress.h"
#include "platform/ui/gridview.h"
#include "platform/yield.h"
#include "registration/ui/progressstatus.h"

#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>

namespace kelmon {

namespace {

const QString warningTitle = QStringLiteral("警告です...");
// The status text of a deletion.
const QString deleting = QStringLiteral("デジタル紙面を削除しています...");


struct ColumnSpec {
    int width;
    GridAlign align;
    const char *header;
};

const ColumnSpec columns[5] = {
    {640, GridAlign::CenterCenter, "競走場"},
    {1560, GridAlign::CenterCenter, "開催日"},
    {440, GridAlign::CenterCenter, "Ｇ"},
    {4600, GridAlign::LeftCenter, "開催タイトル名"},
    {0, GridAlign::LeftCenter, ""},
};

} // namespace

frmdelete::frmdelete(QWidget *parent) : BusyDialog(QStringLiteral("デジタル紙面を削除中のため終了出来ません"), parent)
{
    setObjectName(QStringLiteral("frmdelete"));
    setWindowTitle(QStringLiteral("古いデジタル紙面を削除します..."));
    setFixedSize(twipsToPixels(7815), twipsToPixels(3495) + 8);

    view_ = new GridView(this);
    view_->setObjectName(QStringLiteral("mfgf_setus"));
    view_->setDefaultFont(makeFont(DefaultFontName, 9));
    view_->setGeometry(twipsRect(120, 120, 7575, 2610));
    view_->setModel(&grid_);

    cmdend = new QPushButton(QStringLiteral("終了(&X)"), this);
    cmdend->setObjectName(QStringLiteral("cmdend"));
    cmdend->setToolTip(QStringLiteral("終了します"));
    cmdend->setGeometry(twipsRect(6360, 2820, 1335, 315));
    cmddelete = new QPushButton(QStringLiteral("削除(&D)"), this);
    cmddelete->setObjectName(QStringLiteral("cmddelete"));
    cmddelete->setToolTip(QStringLiteral("デジタル紙面を削除します"));
    cmddelete->setGeometry(twipsRect(4920, 2820, 1335, 315));
    pressOnEnter(cmdend);
    pressOnEnter(cmddelete);
    setTabOrder(cmdend, view_);
    setTabOrder(view_, cmddelete);

    placeStatus(3240, 7815, 2540, {deleting, kOptimizing});

    mnusort = new QMenu(this);
    mnusort->setObjectName(QStringLiteral("mnusort"));
    QAction *sub = mnusort->addAction(QStringLiteral("この開催のデジタル紙面を削除する"));
    sub->setObjectName(QStringLiteral("mnusortsub"));

    connect(cmddelete, &QPushButton::clicked, this, &frmdelete::cmddelete_Click);
    connect(cmdend, &QPushButton::clicked, this, &frmdelete::cmdend_Click);
    connect(sub, &QAction::triggered, this, &frmdelete::cmddelete_Click);
    connect(view_, &GridView::cellPressed, this, &frmdelete::mfgf_setus_MouseDown);
    // The keys choose a meeting as the left button does.
    connect(view_, &GridView::currentCellMoved, this, [this](int row) { selectedRow_ = row; });
    set_grid();
}

void frmdelete::set_grid()
{
    view_->setVisible(false);
    grid_.reset();
    grid_.setCols(5);
    grid_.setRows(1);
    grid_.setFixedRows(1);
    grid_.setFixedCols(0);
    grid_.setRowHeight(0, 260);
    for (int c = 0; c < 5; ++c) {
        grid_.setColWidth(c, columns[c].width);
        grid_.setColAlignment(c, columns[c].align);
        grid_.setText(0, c, QString::fromUtf8(columns[c].header));
        grid_.setCellAlignment(0, c, GridAlign::CenterCenter);
    }
    selectedRow_ = 0;
    grid_.setRow(0);
    view_->modelChanged();
    view_->setVisible(true);
}


void frmdelete::load()
{
    yieldToEvents();
    HourglassGuard hourglass;
    modkelmon::guarded([this] { disp_f_setus(); });
}

void frmdelete::disp_f_setus()
{
    view_->setVisible(false);
    grid_.setRows(1);
    QSqlQuery q = modkelmon::exec(QStringLiteral(
        "select setuscode, kyosocode, s_date, datescnt, gradecode, racesword from f_setus order by setuscode desc"));
    while (q.next()) {
        const int r = grid_.rows();
        grid_.setRows(r + 1);
        const QString date = q.value(2).toString();
        grid_.setText(r, 0, modkelmon::get_kyoso_name(cint(val(q.value(1).toString()))));
        grid_.setText(r, 1,
                      date.mid(2, 2) + QLatin1Char('/') + date.mid(4, 2) + QLatin1Char('/') + date.mid(6, 2)
                          + QStringLiteral(" ～") + plainNumber(val(q.value(3).toString())) + QStringLiteral("日間"));
        grid_.setText(r, 2, modkelmon::get_grade_name(cint(val(q.value(4).toString()))));
        grid_.setText(r, 3, trimBlanks(q.value(5).toString()));
        grid_.setText(r, 4, plainNumber(val(q.value(0).toString())));
    }
    view_->modelChanged();
    view_->setVisible(true);
}

void frmdelete::mfgf_setus_MouseDown(int row, int, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton) {
        selectedRow_ = row;
        return;
    }
    // A right press keeps the chosen row; the menu acts on it.
    grid_.setRow(selectedRow_);
    if (grid_.rows() >= 2 && !status()->running())
        mnusort->popup(globalPos);
}

void frmdelete::cmddelete_Click()
{
    // A second command while a deletion runs is not taken: it could remove
    // another meeting's row from the grid.
    if (status()->running())
        return;
    if (grid_.rows() <= 1) {
        messages().information(warningTitle, QStringLiteral("削除可能なデジタル紙面が有りません"));
        return;
    }
    const int row = grid_.row();
    if (row < grid_.fixedRows()) {
        messages().information(warningTitle, QStringLiteral("削除するデジタル紙面を選択して下さい"));
        return;
    }
    const QString question = modkelmon::del_space(grid_.text(row, 0)) + QStringLiteral("競走場 ")
        + trimBlanks(grid_.text(row, 3)) + QStringLiteral("\r\n\r\nのデジタル紙面を削除しますか？");
    if (!messages().question(QStringLiteral("削除の確認です..."), question, false))
        return;
    const qlonglong setuscode = static_cast<qlonglong>(val(grid_.text(row, 4)));

    {
        HourglassGuard hourglass;
        status()->start(14);
        yieldToEvents();
        if (!modkelmon::guarded([&] { deleteMeeting(setuscode); }))
            return;
        status()->finish();
    }

    if (grid_.rows() == 2) {
        grid_.setRows(1);
    } else {
        // Move the rows below up by one: the grid keeps its formats per row.
        for (int r = row; r + 1 < grid_.rows(); ++r)
            for (int c = 0; c < grid_.cols(); ++c)
                grid_.setText(r, c, grid_.text(r + 1, c));
        grid_.setRows(grid_.rows() - 1);
    }
    selectedRow_ = qMin(row, grid_.rows() - 1);
    grid_.setRow(selectedRow_);
    view_->modelChanged();
    messages().information(QStringLiteral("削除の完了です..."), QStringLiteral("デジタル紙面の削除が完了しました"));
}

void frmdelete::deleteMeeting(qlonglong setuscode)
{
    status()->setText(deleting);
    {
        // One transaction for the meeting: the bar moves on with each table,
        // and a failure in any of them leaves every table as it was.
        modkelmon::Transaction tx;
        for (const PaperTable &t : allTables()) {
            if (QLatin1String(t.name) == QLatin1String("m_kanri"))
                continue;
            modkelmon::exec(QStringLiteral("delete from %1 where setuscode = ?").arg(QString::fromLatin1(t.name)),
                            {setuscode});
            status()->step();
        }
        tx.commit();
    }
    status()->setText(kOptimizing);
    modkelmon::optimize_db();
    status()->step();
}

void frmdelete::cmdend_Click() { close(); }




} // namespace kelmon
