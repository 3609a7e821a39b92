#pragma once
// The add-in's standard message box: OK button, no icon, captioned with the
// file name of the module that holds this code, without extension.
#include <string>

class AppMessageBox {
public:
    static void Show(const std::wstring& text);
    static std::wstring Caption();
};
