#pragma once
// Serializes the switches of the user's default printer over all the user's
// processes (two PowerPoints, or PowerPoint and another host): a mutex in the
// session's namespace named after the user's SID, held from reading the
// default to putting it back. A mutex whose holder died counts as held: that
// holder's journal (PrinterJournal) is then to be undone.
// The name can be read by anyone, so another account in the session (a program
// run as another user) could make the mutex first and hold it: the mutex is
// made owned by the user, for the user and SYSTEM alone, and one that another
// account made is refused at once rather than waited for.
#include <string>

#include "UniqueHandle.h"

class PrinterLock {
public:
    // Waits at most `timeoutMs` for the lock (0: tries once).
    explicit PrinterLock(unsigned long timeoutMs);
    ~PrinterLock() { Release(); }
    PrinterLock(const PrinterLock&) = delete;
    PrinterLock& operator=(const PrinterLock&) = delete;

    bool Held() const { return m_held; }
    // The mutex was made by another account: not waited for.
    bool Squatted() const { return m_squatted; }
    // Only on the thread that took it.
    void Release();

private:
    static std::wstring Name();
    void Create();
    bool MadeByAnother() const;

    UniqueKernelHandle m_mutex;
    bool m_held = false;
    bool m_squatted = false;
};
