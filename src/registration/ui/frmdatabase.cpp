#include "frmdatabase.h"

#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "common/textforms.h"
#include "platform/fonts.h"
#include "platform/hourglass.h"
#include "platform/messages.h"
#include "platform/twips.h"
#include "platform/ui/enterpress.h"
#include "platform/yield.h"
#include "registration/archivenames.h"
#include "registration/importers.h"
#include "registration/registerarchive.h"
#include "registration/ui/progressstatus.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace kelmon {

namespace {

const QString warningTitle = QStringLiteral("警告です...");
const QString noArchives = QStringLiteral("ダウンロードされたデジタル紙面が有りません");
// The status texts of a run.
const QString unpacking = QStringLiteral("圧縮ファイル解凍中...");
const QString importing = QStringLiteral("紙面を登録しています...");
const QString cleaning = QStringLiteral("一時ファイル削除中...");


// The archives waiting in receive/, in listing order (names without regard to case).
QStringList waitingArchives() { return filesWithSuffix(receiveFolder(), QStringLiteral("lzh")); }

// Why nothing can be registered: no archive waits, or receive/ cannot be read.
void tellNothingWaits()
{
    bool readable = true;
    filesWithSuffix(receiveFolder(), QStringLiteral("lzh"), &readable);
    messages().information(warningTitle, readable ? noArchives
                                                  : QStringLiteral("受信フォルダを読み込めません\r\n")
                                                        + QDir::toNativeSeparators(receiveFolder()));
}

void removeMatching(const QString &suffix)
{
    const QString folder = receiveFolder();
    for (const QString &name : filesWithSuffix(folder, suffix))
        QFile::remove(QDir(folder).filePath(name));
}

// Copies the archive into backup/, replacing an earlier copy of that name
// only once the new copy is complete.
bool backUp(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!QDir().mkpath(backupFolder()))
        return false;
    const QString backup = pathInFolder(backupFolder(), name);
    const QString part = backup + QStringLiteral(".part");
    QFile::remove(part);
    if (QFile::copy(path, part)
        && std::rename(QFile::encodeName(part).constData(), QFile::encodeName(backup).constData()) == 0)
        return true;
    QFile::remove(part);
    return false;
}

} // namespace

frmdatabase::frmdatabase(QWidget *parent) : BusyDialog(QStringLiteral("デジタル紙面を登録中のため終了出来ません"), parent)
{
    setObjectName(QStringLiteral("frmdatabase"));
    setWindowTitle(QStringLiteral("デジタル紙面を登録します..."));
    setFixedSize(twipsToPixels(5775), twipsToPixels(1575) + 8);

    auto *label1 = new QLabel(QStringLiteral("ダウンロードされたデジタル紙面は"), this);
    label1->setGeometry(twipsRect(120, 120, 2610, 270));
    lblcount = new QLabel(this);
    lblcount->setObjectName(QStringLiteral("lblcount"));
    lblcount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblcount->setStyleSheet(QStringLiteral("color: #FF0000;"));
    lblcount->setGeometry(twipsRect(2760, 120, 270, 270));
    auto *label2 = new QLabel(QStringLiteral("件です"), this);
    label2->setGeometry(twipsRect(3120, 120, 525, 270));
    // The first line keeps its order when the font is wider than the layout's.
    const int textEnd = label1->x() + label1->sizeHint().width();
    if (textEnd > lblcount->x()) {
        const int shift = textEnd - lblcount->x() + 2;
        label1->resize(label1->sizeHint().width(), label1->height());
        lblcount->move(lblcount->x() + shift, lblcount->y());
        label2->move(label2->x() + shift, label2->y());
    }
    label2->resize(qMax(label2->width(), label2->sizeHint().width()), label2->height());
    lblnewspname = new QLabel(this);
    lblnewspname->setObjectName(QStringLiteral("lblnewspname"));
    lblnewspname->setGeometry(twipsRect(720, 480, 4095, 270));

    cmddatabase = new QPushButton(QStringLiteral("登録(&R)"), this);
    cmddatabase->setObjectName(QStringLiteral("cmddatabase"));
    cmddatabase->setToolTip(QStringLiteral("ダウンロードしたデジタル紙面を利用できるように登録します"));
    cmddatabase->setGeometry(twipsRect(2880, 900, 1335, 315));
    cmdend = new QPushButton(QStringLiteral("終了(&X)"), this);
    cmdend->setObjectName(QStringLiteral("cmdend"));
    cmdend->setToolTip(QStringLiteral("終了します"));
    cmdend->setGeometry(twipsRect(4320, 900, 1335, 315));
    cmddelete = new QPushButton(QStringLiteral("ダウンロードした紙面を消去(&D)"), this);
    cmddelete->setObjectName(QStringLiteral("cmddelete"));
    cmddelete->setToolTip(QStringLiteral("ダウンロードしたデジタル紙面を利用せずに消去します"));
    cmddelete->setGeometry(twipsRect(120, 900, 2655, 315));
    // The longest caption: a step smaller where the drawn font is too wide for it.
    if (cmddelete->sizeHint().width() > cmddelete->width())
        cmddelete->setFont(makeFont(DefaultFontName, DefaultFontPoints - 1));
    setTabOrder(cmddatabase, cmdend);
    setTabOrder(cmdend, cmddelete);
    for (QPushButton *b : {cmddatabase, cmdend, cmddelete})
        pressOnEnter(b);

    placeStatus(1320, 5775, 1900, {unpacking, importing, cleaning, kOptimizing});

    connect(cmddatabase, &QPushButton::clicked, this, &frmdatabase::cmddatabase_Click);
    connect(cmdend, &QPushButton::clicked, this, &frmdatabase::cmdend_Click);
    connect(cmddelete, &QPushButton::clicked, this, &frmdatabase::cmddelete_Click);
}


void frmdatabase::load()
{
    yieldToEvents();
    HourglassGuard hourglass;
    const int count = modkelmon::count_lzh_files();
    lblcount->setText(QString::number(count));
    if (count == 0) {
        hourglass.release();
        tellNothingWaits();
        return;
    }
    const QStringList names = waitingArchives();
    QString title = names.isEmpty() ? QString() : get_newspname(names.first());
    if (count > 1)
        title += QStringLiteral("ほか");
    lblnewspname->setText(title);
}

QString frmdatabase::nextArchive() const
{
    for (const QString &name : waitingArchives())
        if (!tried_.contains(name))
            return name;
    return QString();
}

void frmdatabase::cmddatabase_Click()
{
    if (status()->running())
        return;
    if (val(lblcount->text()) == 0) {
        tellNothingWaits();
        return;
    }
    if (!messages().question(QStringLiteral("登録の確認です..."), QStringLiteral("デジタル紙面を登録しますか？"), true))
        return;

    HourglassGuard hourglass;
    cmddelete->setEnabled(false);
    cmddatabase->setEnabled(false);
    status()->start(86);
    tried_.clear();
    failures_.clear();
    notBackedUp_.clear();
    removeStaleWorkFiles();
    yieldToEvents();

    const bool done = modkelmon::guarded([this] {
        {
            // The importers' statements and the replaced photos' files serve
            // every archive of the run; the statements are finalized before
            // compaction closes the connection.
            RegistrationSession session;
            for (QString name = nextArchive(); !name.isEmpty(); name = nextArchive()) {
                tried_.insert(name);
                registerOne(pathInFolder(receiveFolder(), name), session);
            }
        }
        status()->setText(kOptimizing);
        modkelmon::optimize_db();
    });
    if (!done)
        return;

    cmddelete->setEnabled(true);
    cmddatabase->setEnabled(true);
    status()->finish();
    hourglass.release();
    // Archives that could not be registered, or were registered but could
    // not be backed up, stay in receive/ and are named here.
    QStringList report;
    if (!failures_.isEmpty())
        report << QStringLiteral("次のデジタル紙面は登録できませんでした\r\n"
                                 "ファイルは受信フォルダに残してあります\r\n\r\n")
                      + failures_.join(QStringLiteral("\r\n"));
    if (!notBackedUp_.isEmpty())
        report << QStringLiteral("次のデジタル紙面は登録しましたが、バックアップフォルダへ複写できませんでした\r\n"
                                 "ファイルは受信フォルダに残してあります\r\n\r\n")
                      + notBackedUp_.join(QStringLiteral("\r\n"));
    if (!report.isEmpty())
        messages().information(warningTitle, report.join(QStringLiteral("\r\n\r\n")));
    accept();
}

// One archive: registered wholly in one transaction, then backed up and
// removed from receive/. An archive that fails keeps its place in receive/.
void frmdatabase::registerOne(const QString &path, RegistrationSession &session)
{
    status()->restart();
    status()->setText(unpacking);
    RegistrationHooks hooks;
    hooks.phase = [this](RegistrationPhase phase) {
        if (phase == RegistrationPhase::Importing)
            status()->setText(importing);
    };
    hooks.step = [this] { status()->step(); };
    hooks.afterRecord = [] { yieldToEvents(); };
    const ArchiveRegistration result = register_archive(path, hooks, &session);
    if (!result.registered) {
        failures_ << result.message;
        return;
    }

    status()->setText(cleaning);
    if (!backUp(path)) {
        notBackedUp_ << QFileInfo(path).fileName();
        return;
    }
    QFile::remove(path);
}

void frmdatabase::cmddelete_Click()
{
    if (status()->running())
        return;
    if (!messages().question(QStringLiteral("削除の確認です..."),
                             QStringLiteral("ダウンロードしたデジタル紙面を利用せずに消去しますか？"), false))
        return;
    removeMatching(QStringLiteral("txt"));
    removeMatching(QStringLiteral("gif"));
    removeMatching(QStringLiteral("lzh"));
    lblcount->setText(QStringLiteral("0"));
    lblnewspname->clear();
}

void frmdatabase::cmdend_Click() { close(); }




} // namespace kelmon
