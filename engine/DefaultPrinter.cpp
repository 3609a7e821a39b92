#include "DefaultPrinter.h"

#include <windows.h>
#include <winspool.h>

#include "UniqueHandle.h"

namespace {
// Per window; a program that does not answer in time is skipped.
const UINT kAnnounceTimeoutMs = 2000;
}  // namespace

std::wstring DefaultPrinter::Get() {
    std::wstring name;
    Read(name);
    return name;
}

// The spooler answers ERROR_FILE_NOT_FOUND only when there is no default printer.
bool DefaultPrinter::Read(std::wstring& name) {
    name.clear();
    DWORD size = 0;
    if (GetDefaultPrinterW(nullptr, &size)) return false;
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
    std::wstring buffer(size, L'\0');
    if (!GetDefaultPrinterW(buffer.data(), &size)) return false;
    name = buffer.c_str();
    return true;
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
    UniqueRegistryKey held(key);
    LONG result = RegDeleteValueW(held.Get(), L"Device");
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

void DefaultPrinter::Announce() {
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"windows"),
                        SMTO_ABORTIFHUNG, kAnnounceTimeoutMs, nullptr);
}
