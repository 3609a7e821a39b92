#pragma once
// Waits until a file that a printer driver writes is complete: it exists, it
// can be opened with no sharing (the spooler holds it open while writing), and
// either it ends with the PostScript trailer "%%EOF" or its size stays the same
// across two looks settleMs apart with no change in between. It looks again as
// soon as its folder reports a change, and at the latest every lookMs until the
// file is first idle (a writer's open handle may hold the change back).
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
    // True when the folder reported a change before the pause ended.
    static bool Pause(void* change, unsigned long ms);
};
