#pragma once
// A PowerPoint of a chosen machine type as Windows records it under App Paths:
// a file in the given folder with just the headers of a PE image. The machine's
// record in both registry views is put back as it was at the end.
#include <windows.h>

#include <string>

#include "KeyAside.h"

class RecordedPowerPoint {
public:
    static const WORD kOwnMachine;    // this build's
    static const WORD kOtherMachine;  // the other bitness's
    static const REGSAM kOtherView;   // the registry view of the other bitness

    explicit RecordedPowerPoint(const std::wstring& folder);
    // Records one of `machine` in this build's view, none in the other; no
    // record at all for 0, and a file that is no PE image for IMAGE_FILE_MACHINE_UNKNOWN.
    bool Record(WORD machine);
    static std::string ImageHeaders(WORD machine);

private:
    std::wstring m_folder;
    KeyAside m_own;
    KeyAside m_other;
};
