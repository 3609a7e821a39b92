#include "Win32Registry.h"

std::uint32_t Win32Registry::CreateKey(const RegistryKeyPath& key) {
    UniqueRegistryKey handle;
    return static_cast<std::uint32_t>(RegCreateKeyExW(RootHandle(key.Root()), key.Subkey().c_str(), 0,
                                                      nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                                      nullptr, handle.Put(), nullptr));
}

std::uint32_t Win32Registry::OpenKey(const RegistryKeyPath& key) {
    UniqueRegistryKey handle;
    return static_cast<std::uint32_t>(Open(key, KEY_READ, handle));
}

std::uint32_t Win32Registry::SetString(const RegistryKeyPath& key, const std::wstring& name,
                                       const std::wstring& text) {
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return SetValue(key, name, REG_SZ, text.c_str(), size);
}

std::uint32_t Win32Registry::SetDword(const RegistryKeyPath& key, const std::wstring& name,
                                      std::uint32_t number) {
    const DWORD data = number;
    return SetValue(key, name, REG_DWORD, &data, sizeof(data));
}

std::uint32_t Win32Registry::SetValue(const RegistryKeyPath& key, const std::wstring& name, DWORD type,
                                      const void* data, DWORD size) {
    UniqueRegistryKey handle;
    LONG result = Open(key, KEY_SET_VALUE, handle);
    if (result == ERROR_SUCCESS)
        result = RegSetValueExW(handle.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    return static_cast<std::uint32_t>(result);
}

std::uint32_t Win32Registry::DeleteValue(const RegistryKeyPath& key, const std::wstring& name) {
    UniqueRegistryKey handle;
    LONG result = Open(key, KEY_SET_VALUE, handle);
    if (result == ERROR_SUCCESS) result = RegDeleteValueW(handle.Get(), name.c_str());
    return static_cast<std::uint32_t>(result);
}

// The predefined roots themselves are never deleted.
std::uint32_t Win32Registry::DeleteKey(const RegistryKeyPath& key) {
    if (key.IsRoot()) return ERROR_ACCESS_DENIED;
    return static_cast<std::uint32_t>(RegDeleteKeyW(RootHandle(key.Root()), key.Subkey().c_str()));
}

std::uint32_t Win32Registry::HasSubkeys(const RegistryKeyPath& key, bool& hasSubkeys) {
    UniqueRegistryKey handle;
    LONG result = Open(key, KEY_QUERY_VALUE, handle);
    DWORD count = 0;
    if (result == ERROR_SUCCESS)
        result = RegQueryInfoKeyW(handle.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr);
    hasSubkeys = count != 0;
    return static_cast<std::uint32_t>(result);
}

std::uint32_t Win32Registry::EnumerateSubkeys(const RegistryKeyPath& key, std::vector<std::wstring>& names) {
    names.clear();
    UniqueRegistryKey handle;
    LONG result = Open(key, KEY_ENUMERATE_SUB_KEYS, handle);
    for (DWORD index = 0; result == ERROR_SUCCESS; ++index) {
        wchar_t name[256];  // a key name has at most 255 characters
        DWORD length = 256;
        result = RegEnumKeyExW(handle.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) names.emplace_back(name, length);
    }
    return static_cast<std::uint32_t>(result == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : result);
}

HKEY Win32Registry::RootHandle(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users:
            return HKEY_USERS;
        case RegistryRoot::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
    }
    return HKEY_CLASSES_ROOT;
}

LONG Win32Registry::Open(const RegistryKeyPath& key, REGSAM access, UniqueRegistryKey& handle) {
    return RegOpenKeyExW(RootHandle(key.Root()), key.Subkey().c_str(), 0, access, handle.Put());
}
