#pragma once
// Serializes the switches of the user's default printer over all the user's
// processes (two PowerPoints, or PowerPoint and another host), in every session
// of the user, as the default and the journal under HKCU are shared by them (a
// terminal server): a mutex in the global namespace named after the user's
// SID, held from reading the default to putting it back. A mutex whose holder
// died counts as held: that holder's journal (PrinterJournal) is then to be
// undone.
// The name can be read by anyone, so another account (a program run as another
// user, another user of a terminal server) could make the mutex first and hold
// it: the mutex is made owned by the user, for the user and SYSTEM alone, and
// one that another account made is refused at once rather than waited for.
#include <string>

#include "RunCancel.h"
#include "UniqueHandle.h"

class PrinterLock {
public:
    // Waits at most `timeoutMs` for the lock (0: tries once), or until the
    // user cancels the run.
    explicit PrinterLock(unsigned long timeoutMs, const RunCancel& cancel = RunCancel());
    ~PrinterLock() { Release(); }
    PrinterLock(const PrinterLock&) = delete;
    PrinterLock& operator=(const PrinterLock&) = delete;

    bool Held() const { return m_held; }
    // The mutex was made by another account: not waited for.
    bool Squatted() const { return m_squatted; }
    // The user gave up the wait.
    bool Cancelled() const { return m_cancelled; }
    // Only on the thread that took it.
    void Release();

private:
    static std::wstring Name();
    void Create();
    bool MadeByAnother() const;

    UniqueKernelHandle m_mutex;
    bool m_held = false;
    bool m_squatted = false;
    bool m_cancelled = false;
};
