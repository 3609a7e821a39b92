#include "AppMessageBox.h"

#include <windows.h>

#include "ModulePath.h"

std::wstring AppMessageBox::Caption() {
    return ModulePath::BaseName();
}

void AppMessageBox::Show(const std::wstring& text) {
    // Owned by the thread's active window when there is one, as a framework
    // message box is; a worker thread has none.
    MessageBoxW(GetActiveWindow(), text.c_str(), Caption().c_str(), MB_OK);
}
