#pragma once
// Waits until a file that a printer driver writes is complete: it exists, it
// can be opened with no sharing (the spooler holds it open while writing), and
// either it ends with the PostScript trailer "%%EOF" or its size stays the same
// across two looks settleMs apart. Until the file is first idle it is looked at
// every lookMs.
#include <string>

class PrintedFileWait {
public:
    static bool Wait(const std::wstring& path, unsigned long timeoutMs, unsigned long lookMs,
                     unsigned long settleMs);

private:
    struct Look {
        long long size = -1;  // -1 while somebody else has the file open
        bool trailer = false;
    };
    static Look LookAt(const std::wstring& path);
};
