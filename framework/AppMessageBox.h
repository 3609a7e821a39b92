#pragma once
// The add-in's standard message box: OK button, no icon, captioned with the
// file name of the module that holds this code, without extension.
#include <windows.h>

#include <string>

class AppMessageBox {
public:
    static void Show(const std::wstring& text);
    static std::wstring Caption();
    // The owner of the boxes this thread shows: the window given to SetOwner,
    // else the thread's active window, as for a framework message box.
    static HWND Owner();
    // For a worker thread, which has no window: its boxes belong to `owner`
    // (the dialog that started it), so that they stay in front of it.
    static void SetOwner(HWND owner);
};
