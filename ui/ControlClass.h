#pragma once
// Whether a control's window class name contains a text ("Button", "Edit").
#include <windows.h>

class ControlClass {
public:
    static bool Contains(HWND control, const wchar_t* part);
};
