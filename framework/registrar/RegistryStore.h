#pragma once
// The few registry operations the registrar needs, so the same logic runs on
// the Win32 registry and, in unit tests, on an in-memory one.
#include <cstdint>
#include <string>
#include <vector>

#include "RegistryKeyPath.h"

// Win32 system error codes, so the Windows side can hand them on as HRESULTs.
namespace RegistryCode {
inline constexpr std::uint32_t kOk = 0;
inline constexpr std::uint32_t kNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kAccessDenied = 5;  // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kInvalidData = 13;  // ERROR_INVALID_DATA
inline constexpr std::uint32_t kOutOfMemory = 14;  // ERROR_OUTOFMEMORY
}  // namespace RegistryCode

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Creates the key and any missing parents; an existing key is fine.
    virtual std::uint32_t CreateKey(const RegistryKeyPath& key) = 0;
    // kOk when the key exists and can be read, kNotFound when it does not exist.
    virtual std::uint32_t OpenKey(const RegistryKeyPath& key) = 0;
    // An empty name is the key's default value.
    virtual std::uint32_t SetString(const RegistryKeyPath& key, const std::wstring& name,
                                    const std::wstring& text) = 0;
    virtual std::uint32_t SetDword(const RegistryKeyPath& key, const std::wstring& name,
                                   std::uint32_t number) = 0;
    virtual std::uint32_t DeleteValue(const RegistryKeyPath& key, const std::wstring& name) = 0;
    // Deletes a key that has no subkeys (as RegDeleteKey does); its values go with it.
    virtual std::uint32_t DeleteKey(const RegistryKeyPath& key) = 0;
    virtual std::uint32_t HasSubkeys(const RegistryKeyPath& key, bool& hasSubkeys) = 0;
    virtual std::uint32_t EnumerateSubkeys(const RegistryKeyPath& key, std::vector<std::wstring>& names) = 0;
};
