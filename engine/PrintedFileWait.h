#pragma once
// Waits until a file that a printer driver writes is complete: it exists, it
// can be opened with no sharing (the spooler holds it open while writing), and
// its size stays the same across two looks one poll apart.
#include <string>

class PrintedFileWait {
public:
    static bool Wait(const std::wstring& path, unsigned long timeoutMs, unsigned long pollMs);

private:
    // The file's size when nobody else has it open; -1 otherwise.
    static long long SizeIfIdle(const std::wstring& path);
};
