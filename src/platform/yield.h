#pragma once
// Lets pending window events run once, as a long job does between its steps.
// A call made while an earlier one is still running (an event handler that
// yields again) returns at once, so handlers never nest through this helper.

#include <QCoreApplication>

namespace kelmon {

// Returns false when the call was skipped because a yield is already running.
inline bool yieldToEvents()
{
    static bool running = false;
    if (running || !QCoreApplication::instance())
        return false;
    struct Reset {
        ~Reset() { running = false; }
    } reset;
    running = true;
    QCoreApplication::processEvents();
    return true;
}

} // namespace kelmon
