#pragma once
// The Windows version this program is told. Without a compatibility manifest
// Windows 8 to 11 report 6.2, like Vista and 7 report 6.0 and 6.1.
#include <windows.h>

class WindowsVersion {
public:
    // The major version number; 0 when the query fails.
    static DWORD Major();
};
