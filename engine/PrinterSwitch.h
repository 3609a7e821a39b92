#pragma once
// The user's default printer, switched for the printing of one conversion and
// put back as soon as that is done, or on any way out. The user's default is
// journalled under HKCU before the switch, and the user's lock is held from
// reading it to putting it back, so that neither a run that never finished nor
// a run in another of the user's processes can leave the switch in place.
// Every failure is shown in an application message box once the default is
// back and the lock released.
#include <string>

#include "PrinterLock.h"

class PrinterSwitch {
public:
    // Takes the lock, undoes a run that never finished, reads the user's
    // default printer and makes `printer` the default. Nothing is switched
    // when the lock is not had in time, the default cannot be read (it could
    // not be put back) or `printer` cannot be made the default (it is not
    // installed), or the user cancelled the wait for the lock (not reported).
    explicit PrinterSwitch(const std::wstring& printer, const RunCancel& cancel = RunCancel());
    ~PrinterSwitch() { Restore(); }
    PrinterSwitch(const PrinterSwitch&) = delete;
    PrinterSwitch& operator=(const PrinterSwitch&) = delete;

    bool Switched() const { return m_switched; }
    // Puts the user's default back (none if there was none), tells running
    // programs, removes the journal and releases the lock; reports a failure.
    // Does nothing once restored or when nothing was switched. A Windows that
    // manages the default printer itself makes the printer used last the
    // default, which it may do as the job leaves the spooler, after the put
    // back: so the printer's queue is waited for (within a limit), and a
    // default that is the printer again is put back once more.
    void Restore();

    // As the add-in connects: undoes a run that never finished, unless a run
    // of the user holds the lock (it puts its own back).
    static void RecoverUnfinished(const std::wstring& printer);

private:
    static void Recover(const std::wstring& printer);
    static bool PutBack(const std::wstring& saved);
    bool ReadSaved();
    bool StillPutBackOnceSpooled() const;
    void Fail(const std::wstring& text);

    PrinterLock m_lock;
    std::wstring m_printer;
    std::wstring m_saved;
    bool m_switched = false;
};
