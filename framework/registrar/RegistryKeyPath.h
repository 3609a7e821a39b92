#pragma once
// Where a key lives: a predefined root and the key names below it.
#include <string>
#include <vector>

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

class RegistryKeyPath {
public:
    RegistryKeyPath() = default;
    explicit RegistryKeyPath(RegistryRoot root, std::vector<std::wstring> names = {});

    RegistryRoot Root() const { return m_root; }
    const std::vector<std::wstring>& Names() const { return m_names; }
    bool IsRoot() const { return m_names.empty(); }
    RegistryKeyPath Child(const std::wstring& name) const;
    // Names joined by backslashes, as the Win32 calls take a subkey.
    std::wstring Subkey() const;
    // "HKCR\AppID\..." for messages and test dumps.
    std::wstring ToString() const;

    static const wchar_t* RootName(RegistryRoot root);

private:
    RegistryRoot m_root = RegistryRoot::ClassesRoot;
    std::vector<std::wstring> m_names;
};
