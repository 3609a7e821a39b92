#include "ControlClass.h"

#include <cwchar>

bool ControlClass::Contains(HWND control, const wchar_t* part) {
    wchar_t name[31] = {};  // the pages look at no more than 30 characters
    GetClassNameW(control, name, 31);
    return std::wcsstr(name, part) != nullptr;
}
