#include "startup.h"

#include "app/ui/frmmainmenu.h"
#include "app/ui/frmopening.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "platform/messages.h"
#include "platform/ui/focushandover.h"
#include "platform/ui/messagebox.h"
#include "platform/yield.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace kelmon {

QString lockPath() { return programPath(QStringLiteral("kelmon.lock")); }

InstanceLock takeSingleInstanceLock(QLockFile &lock, QString *problem)
{
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return InstanceLock::Taken;
    // A lock held by another copy names that copy's process; anything else in
    // its place (a folder, a file that cannot be read), or a folder that
    // cannot take the file, is a file error. A copy that has just made the
    // file may not have written it yet: it is read once more a moment later.
    qint64 pid = 0;
    QString host, application;
    if (lock.error() == QLockFile::LockFailedError
        && (lock.getLockInfo(&pid, &host, &application)
            || (QThread::msleep(200), lock.getLockInfo(&pid, &host, &application))))
        return InstanceLock::Held;
    if (problem)
        *problem = QStringLiteral("ロックファイルを作成できません\r\n%1").arg(QDir::toNativeSeparators(lockPath()));
    return InstanceLock::Failed;
}

bool screenWideEnough(const QScreen *screen) { return screen && screen->geometry().width() >= 800; }

void refuseNarrowScreen()
{
    messages().information(QStringLiteral("警告です..."),
                           QStringLiteral("本ソフトウェアは現在のディスプレイ解像度では起動できません\r\n\r\n"
                                          "ディスプレイの解像度を 800×600ピクセル 以上にして下さい\r\n"
                                          "なお、推奨する解像度は 1024×768ピクセル以上です"));
    // The desktop's display settings, where one of the known tools is installed.
    static const struct { const char *program; const char *argument; } tools[] = {
        {"gnome-control-center", "display"}, {"xfce4-display-settings", nullptr}, {"lxqt-config-monitor", nullptr},
        {"systemsettings", "kcm_kscreen"},   {"arandr", nullptr},                 {"lxrandr", nullptr},
    };
    for (const auto &t : tools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(t.program));
        if (path.isEmpty())
            continue;
        QStringList args;
        if (t.argument)
            args << QString::fromLatin1(t.argument);
        QProcess::startDetached(path, args);
        return;
    }
}

void placeMainWindow(QWidget &window, const QScreen *screen)
{
    const QRect area = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.resize(area.size() - frame);
    window.move(area.topLeft());
}

namespace {

// The window manager decorates a shown window when it gets to it, which may
// be after the first events have run; until then the frame counts as none,
// and a window placed with no frame reaches past the screen's bottom by its
// title bar, its workspace's bottom with it. The window is placed again
// whenever it moves or resizes with another frame, until a frame is known.
class FramePlacer : public QObject {
public:
    FramePlacer(QWidget &window) : QObject(&window), window_(window) { window.installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
            if (frame != placed_) {
                placed_ = frame;
                placeMainWindow(window_, window_.screen());
                if (!frame.isEmpty())
                    deleteLater();
            }
        }
        return false;
    }

private:
    QWidget &window_;
    QSize placed_{0, 0};
};

} // namespace

frmopening *showStartWindows(frmmainmenu &window)
{
    placeMainWindow(window, QGuiApplication::primaryScreen());
    auto *splash = new frmopening(&window);
    splash->show();
    splash->activateWindow();
    yieldToEvents();
    window.show();
    yieldToEvents();
    placeMainWindow(window, QGuiApplication::primaryScreen());   // the frame may be known once shown
    new FramePlacer(window);
    return splash;
}

void startViewer(frmmainmenu &window, MessageBoxService &boxes)
{
    boxes.setParent(&window);
    const QPointer<frmopening> splash = showStartWindows(window);
    QTimer::singleShot(0, &window, [&window, splash] {
        if (splash)
            splash->countDown();
        window.firstActivation();
    });
}

int runViewer()
{
    MessageBoxService boxes;
    setMessageService(&boxes);

    QString problem;
    if (!ensureProgramFolder(&problem)) {
        messages().critical(QStringLiteral("致命的なエラーです..."), problem);
        return 1;
    }
    QLockFile lock(lockPath());
    switch (takeSingleInstanceLock(lock, &problem)) {
    case InstanceLock::Taken: break;
    case InstanceLock::Held: return 0;
    case InstanceLock::Failed:
        messages().critical(QStringLiteral("致命的なエラーです..."), problem);
        return 1;
    }
    if (!screenWideEnough(QGuiApplication::primaryScreen())) {
        refuseNarrowScreen();
        return 0;
    }

    installFocusHandover();
    frmmainmenu window;
    startViewer(window, boxes);
    const int code = QApplication::exec();
    setMessageService(nullptr);
    return code;
}

} // namespace kelmon
