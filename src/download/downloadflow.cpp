#include "download/downloadflow.h"

#include "common/programfolder.h"
#include "common/textforms.h"
#include "download/dialup.h"
#include "download/papertitle.h"
#include "download/protocol.h"
#include "download/setupregistry.h"
#include "platform/archive.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace kelmon {

namespace {

const QString kWarning = QStringLiteral("警告です...");
const QString kError = QStringLiteral("エラーが発生しました...");
const QString kCancelled = QStringLiteral("ダウンロードがキャンセルされました...");
const QString kSampleUser = QStringLiteral("tarnu");

// What carries over from one opening of the dialog to the next.
struct RunState {
    QString user;
    QString password;
    bool cancelled = false;
    QStringList filelist;   // elements of the last list answer, the count last
    int savedRow = 0;
};
RunState run;

} // namespace

DownloadFlow::DownloadFlow(QObject *parent) : QObject(parent)
{
    // The archive goes to its file as it arrives, never held whole, and no
    // larger than registration takes one.
    KmrDldCtl2.setMaxBytes(maxArchiveBytes);
    KmrDldCtl2.setDeadline(protocol::kArchiveDeadlineMs);
    KmrDldCtl2.setStreaming(true);
    connect(&KmrDldCtl2, &kmrdldctl::DownLoadData, this, &DownloadFlow::ctl2Data);
    connect(&KmrDldCtl1, &kmrdldctl::DownLoadComplete, this, &DownloadFlow::ctl1Complete);
    connect(&KmrDldCtl1, &kmrdldctl::DownLoadCancel, this, &DownloadFlow::ctl1Cancel);
    connect(&KmrDldCtl1, &kmrdldctl::DownLoadProgress, this, &DownloadFlow::progress);
    connect(&KmrDldCtl2, &kmrdldctl::DownLoadComplete, this, &DownloadFlow::ctl2Complete);
    connect(&KmrDldCtl2, &kmrdldctl::DownLoadCancel, this, &DownloadFlow::ctl2Cancel);
    connect(&KmrDldCtl2, &kmrdldctl::DownLoadProgress, this, &DownloadFlow::progress);
}

DownloadFlow::~DownloadFlow() { discardArchive(); }

void DownloadFlow::resetRunState() { run = RunState(); }

void DownloadFlow::set_buttons(bool connect, bool download, bool close, bool cancel, bool list)
{
    buttons_ = {connect, download, close, cancel, list};
    if (list && run.savedRow >= 0 && run.savedRow < rows_.size()) {
        listready_ = false;
        selectedRow_ = run.savedRow;
        listready_ = true;
    }
}

void DownloadFlow::setStatus(const QString &text) { status_ = text; }

void DownloadFlow::idleWith(const QString &text)
{
    emit beep();
    setStatus(text);
    set_buttons(true, false, true, false, false);
}

void DownloadFlow::commonEnd()
{
    progressValue_ = 0;
    hourglass_ = false;
}

void DownloadFlow::request(int mode, const QString &query)
{
    dldmode_ = mode;
    KmrDldCtl1.DownLoad(protocol::requestUrl(baseurl_, query).toString(QUrl::FullyEncoded));
}

bool DownloadFlow::existsInReceive(const QString &file) const
{
    // Compared by name within the folder only, never as a path.
    const QStringList names = QDir(receiveFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return std::any_of(names.begin(), names.end(),
                       [&](const QString &n) { return n.compare(file, Qt::CaseInsensitive) == 0; });
}

void DownloadFlow::load()
{
    QDir().mkpath(receiveFolder());
    baseurl_ = protocol::baseUrl();
    set_buttons(true, false, true, false, false);
    emit changed();
}

void DownloadFlow::cmdconect_Click()
{
    DialUp &dial = dialUp();
    if (!dial.chk_rasconnect()) {
        if (!setup::isTrue(QStringLiteral("DSET"))) {
            if (showOptions)
                showOptions();
            if (!setup::isTrue(QStringLiteral("DSET")))
                return;
        }
        if (setup::number(QStringLiteral("DCK"), 0) != 1) {
            const QString dname = setup::value(QStringLiteral("DNAME"));
            if (dname.isEmpty()) {
                messages().information(kWarning, QStringLiteral("接続設定で使用するダイヤルアップを選択して下さい"));
                return;
            }
            const QStringList entries = dial.get_rasentrylist().split(u',');
            if (!entries.contains(dname, Qt::CaseInsensitive)) {
                messages().information(kWarning, QStringLiteral("ダイヤルアップが変更されています\r\n\r\n"
                                                                 "接続設定で使用するダイヤルアップを選択して下さい"));
                return;
            }
            dial.InternetDial(dname);
        }
    }
    fileflag_ = false;
    setStatus(QString());
    emit changed();
    if (showLogin)
        showLogin();
    if (run.cancelled) {
        emit changed();
        return;
    }
    count_ = QStringLiteral("?");
    rows_.clear();
    selectedRow_ = -1;
    set_buttons(false, false, false, true, false);
    hourglass_ = true;
    request(0, protocol::checkQuery(run.user, run.password));
    emit changed();
}

void DownloadFlow::cmddwld_Click()
{
    fileflag_ = false;
    setStatus(QString());
    run.savedRow = selectedRow_;
    // A row must be chosen, and it must name a paper of the last list.
    if (selectedRow_ < 0 || selectedRow_ >= rows_.size() || selectedRow_ >= run.filelist.size() - 1) {
        emit changed();
        messages().information(kWarning, QStringLiteral("ダウンロードするデジタル紙面を選択して下さい"));
        return;
    }
    const QString file = run.filelist.at(selectedRow_);
    if (existsInReceive(file)) {
        QString text = QStringLiteral("そのデータは既にダウンロードされています\r\n再度ダウンロードしますか？");
        if (run.user.compare(kSampleUser, Qt::CaseInsensitive) != 0)
            text += QStringLiteral("\r\n\r\n再度ダウンロードした場合は利用可能回数が 1 減ります...");
        if (!messages().question(QStringLiteral("ダウンロードの確認です..."), text, false)) {
            emit changed();
            return;
        }
    }
    setStatus(QStringLiteral("ダウンロードの準備中です..."));
    set_buttons(false, false, false, true, false);
    request(1, protocol::dwldfileQuery(run.user, file));
    emit changed();
}

void DownloadFlow::ctl1Complete(const QByteArray &body)
{
    const QString answer = protocol::answerText(body);
    switch (dldmode_) {
    case 0: checkAnswer(answer); break;
    case 1: dwldfileAnswer(answer); break;
    default: delfileAnswer(answer); break;
    }
    commonEnd();
    emit changed();
    // Only once the list is enabled can it take the focus.
    if (std::exchange(focusList_, false))
        emit focusList();
}

void DownloadFlow::checkAnswer(const QString &answer)
{
    if (const auto s = protocol::special(answer); s != protocol::Special::None)
        return idleWith(protocol::specialStatus(s));
    const protocol::CheckAnswer list = protocol::readCheckAnswer(answer);
    if (!list.valid)
        return idleWith(kError);
    run.filelist = list.files;
    run.filelist << list.count;
    rows_.clear();
    for (const QString &file : list.files)
        rows_ << comp_papertitle(file) + (list.sample ? QStringLiteral("[ｻﾝﾌﾟﾙ]") : QString());
    count_ = list.count;
    if (count_ == u"0")
        set_buttons(true, false, true, false, true);
    else
        set_buttons(true, true, true, false, true);
    focusList_ = true;
    setStatus(QString());
}

void DownloadFlow::dwldfileAnswer(const QString &answer)
{
    if (const auto s = protocol::special(answer); s != protocol::Special::None)
        return idleWith(protocol::specialStatus(s));
    const protocol::DwldfileAnswer reserved = protocol::readDwldfileAnswer(answer);
    if (!reserved.valid)
        return idleWith(kError);
    setStatus(reserved.name + QStringLiteral("のダウンロードを開始します..."));
    savepath_ = pathInFolder(receiveFolder(), reserved.name);
    discardArchive();
    structure_ = protocol::LhaStructure();
    refused_ = false;
    set_buttons(false, false, false, true, false);
    fileflag_ = true;
    KmrDldCtl2.DownLoad(protocol::requestUrl(baseurl_, protocol::fileQuery(reserved.key, reserved.name))
                            .toString(QUrl::FullyEncoded));
}

void DownloadFlow::delfileAnswer(const QString &answer)
{
    if (const auto s = protocol::special(answer); s == protocol::Special::Error || s == protocol::Special::Empty)
        return idleWith(protocol::specialStatus(s));
    const protocol::DelfileAnswer ack = protocol::readDelfileAnswer(answer);
    emit beep();
    if (ack.acknowledged) {
        if (!ack.valid)
            return idleWith(kError);
        count_ = ack.count;
        const QString file = run.savedRow >= 0 && run.savedRow < run.filelist.size() ? run.filelist.at(run.savedRow)
                                                                                      : QString();
        setStatus(file + QStringLiteral("のダウンロードが完了しました..."));
        set_buttons(true, true, true, false, true);
        focusList_ = true;
    } else {
        setStatus(QStringLiteral("受信データに誤りの可能性があります..."));
        set_buttons(true, false, true, false, false);
    }
    if (isNumericText(count_) && val(count_) == 0)
        buttons_.download = false;
}

void DownloadFlow::ctl1Cancel()
{
    progressValue_ = 0;
    hourglass_ = false;
    if (dldmode_ == 0)
        set_buttons(true, false, true, false, true);
    else
        set_buttons(true, true, true, false, true);
    emit beep();
    setStatus(kCancelled);
    emit changed();
}

void DownloadFlow::ctl2Data(const QByteArray &piece)
{
    structure_.feed(piece);
    // Bytes that stopped being an archive are not waited for.
    bool ok = !structure_.broken();
    if (ok && !archive_) {
        // Written beside its place under a new name of its own, never into
        // what has the archive's name (a link there would carry the bytes
        // out of the folder), and given that name only when read whole.
        archive_ = std::make_unique<QFile>();
        const int fd = createStagingFile(receiveFolder(), downloadStagingStem, &stagedPath_);
        ok = fd >= 0 && archive_->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
        if (fd >= 0 && !ok)
            ::close(fd);
    }
    if (ok)
        ok = archive_->write(piece) == piece.size();
    if (!ok) {
        refused_ = true;
        KmrDldCtl2.Cancel();
    }
}

void DownloadFlow::ctl2Complete(const QByteArray &)
{
    fileflag_ = false;
    progressValue_ = 0;
    if (!placeArchive()) {
        emit beep();
        setStatus(protocol::specialStatus(protocol::Special::Empty));
        set_buttons(true, true, true, false, true);
        hourglass_ = false;
        emit changed();
        return;
    }
    request(2, protocol::delfileQuery(run.user));
    emit changed();
}

// Only an archive that registration reads whole is kept and acknowledged,
// whatever length the server announced: it ends in its end mark (one cut
// between two entries reads without fault), and every entry it would take
// reads to its end with its checksum and within its limits. What follows the
// end mark is kept as it came.
bool DownloadFlow::placeArchive()
{
    bool placed = archive_ && structure_.complete() && archive_->flush() && ::fdatasync(archive_->handle()) == 0;
    placed = placed && readArchive(QFile::decodeName(stagedPath_)).ok();
    if (placed && beforePlacing)
        beforePlacing();
    // Whatever has the name gives it up, a link too; a folder stays. The
    // file stays open, and so held against the clean-up, until it has its name.
    if (placed && ::rename(stagedPath_.constData(), QFile::encodeName(savepath_).constData()) == 0)
        stagedPath_.clear();
    else
        placed = false;
    discardArchive();
    return placed;
}

void DownloadFlow::discardArchive()
{
    archive_.reset();
    if (!stagedPath_.isEmpty())
        ::unlink(stagedPath_.constData());
    stagedPath_.clear();
}

void DownloadFlow::ctl2Cancel()
{
    // Nothing of a stopped fetch is kept.
    discardArchive();
    fileflag_ = false;
    progressValue_ = 0;
    set_buttons(true, true, true, false, true);
    emit beep();
    setStatus(std::exchange(refused_, false) ? protocol::specialStatus(protocol::Special::Empty) : kCancelled);
    emit changed();
}

void DownloadFlow::progress(qint64 read, qint64 max)
{
    constexpr qint64 limit = std::numeric_limits<int>::max();
    if (max > 0)
        progressMax_ = int(std::min(max, limit));
    else
        progressMax_ = 0;
    if (read >= 0)
        progressValue_ = int(std::min(read, limit));
    setStatus(QStringLiteral("%1B/%2B ダウンロード済み...").arg(read).arg(max));
    emit changed();
}

void DownloadFlow::Command1_Click()
{
    if (fileflag_)
        KmrDldCtl2.Cancel();
    else
        KmrDldCtl1.Cancel();
}

void DownloadFlow::cmdoption_Click()
{
    if (showOptions)
        showOptions();
}

void DownloadFlow::cmdclse_Click()
{
    DialUp &dial = dialUp();
    if (dial.chk_rasconnect()
        && messages().question(QStringLiteral("切断の確認です..."), QStringLiteral("インターネットの接続を切断しますか？"),
                               true))
        dial.ras_hangup();
}

bool DownloadFlow::queryUnload()
{
    if (!transferring() && progressValue_ == 0)
        return true;
    messages().information(kWarning, QStringLiteral("デジタル紙面をダウンロード中のため終了出来ません"));
    return false;
}

void DownloadFlow::List1_Click(int row)
{
    selectedRow_ = row;
    if (!listready_ || row < 0 || row >= run.filelist.size())
        return;
    const QString file = run.filelist.at(row);
    setStatus(file + (existsInReceive(file) ? QStringLiteral(" （ダウンロード済み）") : QString()));
    emit changed();
}

void DownloadFlow::PForm_CloseWindow(const QString &usrName, const QString &pasWord, bool cFlag)
{
    run.cancelled = cFlag;
    if (!cFlag) {
        run.user = usrName;
        run.password = pasWord;
    }
}

} // namespace kelmon
