#include "AppMessageBox.h"

#include "ModulePath.h"

namespace {
thread_local HWND t_owner = nullptr;
}  // namespace

std::wstring AppMessageBox::Caption() {
    return ModulePath::BaseName();
}

HWND AppMessageBox::Owner() {
    return t_owner ? t_owner : GetActiveWindow();
}

void AppMessageBox::SetOwner(HWND owner) {
    t_owner = owner;
}

void AppMessageBox::Show(const std::wstring& text) {
    MessageBoxW(Owner(), text.c_str(), Caption().c_str(), MB_OK);
}
