#pragma once
// The Cancel of a run started from a window, for the waits the user may give
// up (another conversion of the user's holding the printer): the event the
// window sets, and what to tell the window as such a wait starts and ends.
// Borrows the event; a run without one (the default) waits to its limits.
#include <windows.h>

#include <functional>

class RunCancel {
public:
    RunCancel() = default;
    RunCancel(HANDLE event, std::function<void(bool waiting)> onWaiting)
        : m_event(event), m_onWaiting(std::move(onWaiting)) {}

    // Waits for `object` at most `timeoutMs`: WAIT_OBJECT_0 or WAIT_ABANDONED
    // when it is had, WAIT_TIMEOUT when not in time, kCancelled when the user
    // gave up first. Tells the window while it waits.
    DWORD Wait(HANDLE object, DWORD timeoutMs) const;
    // A wait of this run ended because the user gave up: the run's end is no failure.
    bool GaveUp() const { return m_gaveUp; }

    static const DWORD kCancelled = 0xC0DE;

private:
    void Tell(bool waiting) const {
        if (m_onWaiting) m_onWaiting(waiting);
    }

    HANDLE m_event = nullptr;
    std::function<void(bool)> m_onWaiting;
    mutable bool m_gaveUp = false;
};
