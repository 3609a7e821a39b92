#pragma once
// The user's default printer as it was before a run switched it, kept under
// HKCU\Software\Quillset until the run has put it back: a run that never
// finished (the host crashed or was ended, the user logged off) is undone
// later from it. Read and written only under PrinterLock.
#include <string>

class PrinterJournal {
public:
    // `saved` is empty when the user had no default printer.
    static bool Write(const std::wstring& saved);
    // False when there is no journal.
    static bool Read(std::wstring& saved);
    // Removes the journal, and the product's key once nothing else is in it.
    static void Remove();
};
