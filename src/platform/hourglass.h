#pragma once
// The hourglass pointer for the length of a scope. Guards nest: the normal
// pointer comes back when the outermost guard ends. Without a GUI
// application (command-line tools, core tests) a guard does nothing.

#include <QCursor>
#include <QGuiApplication>

namespace kelmon {

class HourglassGuard {
public:
    HourglassGuard()
        : active_(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (active_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~HourglassGuard() { release(); }
    HourglassGuard(const HourglassGuard &) = delete;
    HourglassGuard &operator=(const HourglassGuard &) = delete;

    // Restores the pointer before the scope ends (at most once).
    void release()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_;
};

} // namespace kelmon
