#pragma once
// A printer's queue, as the spooler shows it to the user.
#include <windows.h>

#include <string>

class PrinterQueue {
public:
    // Looks every `lookMs`, at most `limitMs`, until `printer` holds no job.
    // False when jobs remain at the limit or the spooler cannot say.
    static bool WaitUntilEmpty(const std::wstring& printer, DWORD limitMs, DWORD lookMs);

private:
    // 0 or 1 (at least one); -1 when the spooler cannot say.
    static int Jobs(HANDLE printer);
};
