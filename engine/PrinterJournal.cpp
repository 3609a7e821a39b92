#include "PrinterJournal.h"

#include <windows.h>

#include "UniqueHandle.h"

namespace {
const wchar_t kProductKey[] = L"Software\\Quillset";
const wchar_t kJournalKey[] = L"Software\\Quillset\\DefaultPrinter";
const wchar_t kSaved[] = L"Saved";
}  // namespace

bool PrinterJournal::Write(const std::wstring& saved) {
    UniqueRegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kJournalKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((saved.size() + 1) * sizeof(wchar_t));
    // Flushed: a log-off or a power cut right after the switch must not lose it.
    return RegSetValueExW(key.Get(), kSaved, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.c_str()), bytes) ==
               ERROR_SUCCESS &&
           RegFlushKey(key.Get()) == ERROR_SUCCESS;
}

bool PrinterJournal::Read(std::wstring& saved) {
    saved.clear();
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kJournalKey, kSaved, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return false;
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kJournalKey, kSaved, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS)
        return false;
    saved = buffer.c_str();
    return true;
}

void PrinterJournal::Remove() {
    RegDeleteKeyW(HKEY_CURRENT_USER, kJournalKey);
    UniqueRegistryKey product;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_QUERY_VALUE, product.Put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 1, values = 1;
    if (RegQueryInfoKeyW(product.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    product.Reset();
    if (subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CURRENT_USER, kProductKey);
}
