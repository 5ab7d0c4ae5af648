#include "startup.h"

#include "app/ui/frmmainmenu.h"
#include "app/ui/frmopening.h"
#include "common/modkelmon.h"
#include "common/programfolder.h"
#include "platform/messages.h"
#include "platform/ui/messagebox.h"
#include "platform/yield.h"

#include <QApplication>
#include <QLockFile>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

namespace kelmon {

QString lockPath() { return programPath(QStringLiteral("kelmon.lock")); }

bool takeSingleInstanceLock(QLockFile &lock)
{
    lock.setStaleLockTime(0);
    return lock.tryLock(0);
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
    if (!takeSingleInstanceLock(lock))
        return 0;
    if (!screenWideEnough(QGuiApplication::primaryScreen())) {
        refuseNarrowScreen();
        return 0;
    }

    frmmainmenu window;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(screen.x(), screen.y(), screen.width(), screen.height() - 28);
    window.show();
    auto *splash = new frmopening(&window);
    splash->show();
    yieldToEvents();
    QTimer::singleShot(0, &window, &frmmainmenu::firstActivation);
    const int code = QApplication::exec();
    setMessageService(nullptr);
    return code;
}

} // namespace kelmon
