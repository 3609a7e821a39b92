#include "WindowsVersion.h"

DWORD WindowsVersion::Major() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}
