#include "PrinterSwitch.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "DefaultPrinter.h"
#include "ModulePath.h"
#include "PrinterJournal.h"
#include "PrinterQueue.h"

namespace {
// A run holds the lock through PowerPoint's print, which has a limit of ten minutes.
const unsigned long kLockWaitMs = 15 * 60 * 1000;
// The job is written by then: what is left is the spooler's bookkeeping.
const unsigned long kQueueLimitMs = 10 * 1000;
const unsigned long kQueueLookMs = 100;
}  // namespace

PrinterSwitch::PrinterSwitch(const std::wstring& printer, const RunCancel& cancel)
    : m_lock(kLockWaitMs, cancel), m_printer(printer) {
    if (m_lock.Cancelled()) return;
    if (m_lock.Squatted()) {
        Fail(L"A program of another account holds the lock that keeps conversions from switching the default "
             L"printer at once. Nothing is printed. Close the programs that other accounts run on this computer, "
             L"or restart it, and convert again.");
        return;
    }
    if (!m_lock.Held()) {
        Fail(L"Another conversion keeps the printer " + printer + L" busy. Nothing is printed; try again later.");
        return;
    }
    Recover(printer);
    if (!ReadSaved()) {
        Fail(L"The default printer cannot be read, so it is left as it is and nothing is printed.");
        return;
    }
    // Without the journal a crash would leave the switch for good: a reason not to switch.
    if (!PrinterJournal::Write(m_saved)) {
        Fail(L"The default printer cannot be noted in the registry, so it is left as it is and nothing is printed.");
        return;
    }
    if (!DefaultPrinter::Set(printer)) {
        PrinterJournal::Remove();
        // The set-up beside the add-in installs the printer; say how to run it again.
        Fail(L"The printer " + printer +
             L" cannot be made the default printer. Is it installed? Nothing is printed. To repair "
             L"it, select Quillset in Programs and Features and choose Repair, or run Brenmoor.exe in " +
             ModulePath::ProductFolder() + L"\\ as administrator.");
        return;
    }
    m_switched = true;
}

// A journal that could not be undone still holds the user's default.
bool PrinterSwitch::ReadSaved() {
    return PrinterJournal::Read(m_saved) || DefaultPrinter::Read(m_saved);
}

void PrinterSwitch::Fail(const std::wstring& text) {
    m_lock.Release();
    AppMessageBox::Show(text);
}

void PrinterSwitch::Restore() {
    if (!m_switched) return;
    m_switched = false;
    const bool restored = PutBack(m_saved) && StillPutBackOnceSpooled();
    if (restored) PrinterJournal::Remove();
    m_lock.Release();
    if (restored) return;
    AppMessageBox::Show(m_saved.empty() ? std::wstring(L"The default printer could not be removed again.")
                                        : L"The default printer could not be set back to " + m_saved +
                                              L". Choose it again in the printer settings.");
}

// Still holding the lock: no other run's switch can be undone here.
bool PrinterSwitch::StillPutBackOnceSpooled() const {
    PrinterQueue::WaitUntilEmpty(m_printer, kQueueLimitMs, kQueueLookMs);
    return _wcsicmp(DefaultPrinter::Get().c_str(), m_printer.c_str()) != 0 || PutBack(m_saved);
}

void PrinterSwitch::RecoverUnfinished(const std::wstring& printer) {
    PrinterLock lock(0);
    if (lock.Held()) Recover(printer);
}

// Only a switch still in force is undone: a default the user has chosen since stays.
void PrinterSwitch::Recover(const std::wstring& printer) {
    std::wstring saved;
    if (!PrinterJournal::Read(saved)) return;
    if (_wcsicmp(DefaultPrinter::Get().c_str(), printer.c_str()) == 0 && !PutBack(saved)) return;
    PrinterJournal::Remove();
}

bool PrinterSwitch::PutBack(const std::wstring& saved) {
    const bool restored = saved.empty() ? DefaultPrinter::Clear() : DefaultPrinter::Set(saved);
    DefaultPrinter::Announce();
    return restored;
}
