#pragma once
// Runs a modal dialog on a thread of its own, so that a test can drive its
// windows with messages from the test thread and wait for it to end.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

class DialogThread {
public:
    // `run` shows the dialog modally; `prepare` runs first on the same thread.
    explicit DialogThread(std::function<void()> run, std::function<void()> prepare = {});
    ~DialogThread();
    DialogThread(const DialogThread&) = delete;
    DialogThread& operator=(const DialogThread&) = delete;

    // The thread's first visible top-level window, waited for; null after 10 s.
    HWND Window();
    // The window with keyboard focus on the dialog's thread.
    HWND Focus() const;
    // Waits (at most 10 s) for the dialog to end; true when it did.
    bool WaitForEnd();
    DWORD ThreadId() const { return m_threadId; }

private:
    std::atomic<DWORD> m_threadId{0};
    std::atomic<bool> m_ended{false};
    std::thread m_thread;
};

// Polls `condition` every 20 ms for at most `milliseconds`.
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 10000);
