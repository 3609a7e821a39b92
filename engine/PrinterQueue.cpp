#include "PrinterQueue.h"

#include <winspool.h>

#include "UniqueHandle.h"

bool PrinterQueue::WaitUntilEmpty(const std::wstring& printer, DWORD limitMs, DWORD lookMs) {
    UniquePrinter held;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!OpenPrinterW(const_cast<LPWSTR>(printer.c_str()), held.Put(), &access)) return false;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const int jobs = Jobs(held.Get());
        if (jobs <= 0) return jobs == 0;
        if (GetTickCount64() - start >= limitMs) return false;
        Sleep(lookMs);
    }
}

// Asked without a buffer: a queue with jobs answers that one is needed.
int PrinterQueue::Jobs(HANDLE printer) {
    DWORD needed = 0, returned = 0;
    if (EnumJobsW(printer, 0, 1, 1, nullptr, 0, &needed, &returned)) return returned ? 1 : 0;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed ? 1 : -1;
}
