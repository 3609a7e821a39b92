#include "DefaultPrinter.h"

#include <windows.h>
#include <winspool.h>

#include <cwchar>

std::wstring DefaultPrinter::Get() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    name.resize(wcslen(name.c_str()));
    return name;
}

bool DefaultPrinter::Set(const std::wstring& name) {
    return SetDefaultPrinterW(name.c_str()) != FALSE;
}

bool DefaultPrinter::Clear() {
    // The spooler keeps the default in the user's "Device" value; without it there is none.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                      KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return true;
    LONG result = RegDeleteValueW(key, L"Device");
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
