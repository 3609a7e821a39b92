#pragma once
// The registrar's store on the Windows registry. Each call opens the key it
// needs and closes it again: registration touches few keys, and nothing stays open.
#include <windows.h>

#include "RegistryStore.h"
#include "UniqueHandle.h"

class Win32Registry : public RegistryStore {
public:
    std::uint32_t CreateKey(const RegistryKeyPath& key) override;
    std::uint32_t OpenKey(const RegistryKeyPath& key) override;
    std::uint32_t SetString(const RegistryKeyPath& key, const std::wstring& name,
                            const std::wstring& text) override;
    std::uint32_t SetDword(const RegistryKeyPath& key, const std::wstring& name,
                           std::uint32_t number) override;
    std::uint32_t DeleteValue(const RegistryKeyPath& key, const std::wstring& name) override;
    std::uint32_t DeleteKey(const RegistryKeyPath& key) override;
    std::uint32_t HasSubkeys(const RegistryKeyPath& key, bool& hasSubkeys) override;
    std::uint32_t EnumerateSubkeys(const RegistryKeyPath& key, std::vector<std::wstring>& names) override;

private:
    static HKEY RootHandle(RegistryRoot root);
    static LONG Open(const RegistryKeyPath& key, REGSAM access, UniqueRegistryKey& handle);
    static std::uint32_t SetValue(const RegistryKeyPath& key, const std::wstring& name, DWORD type,
                                  const void* data, DWORD size);
};
