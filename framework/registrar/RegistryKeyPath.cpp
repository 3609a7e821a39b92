#include "RegistryKeyPath.h"

#include <utility>

RegistryKeyPath::RegistryKeyPath(RegistryRoot root, std::vector<std::wstring> names)
    : m_root(root), m_names(std::move(names)) {}

RegistryKeyPath RegistryKeyPath::Child(const std::wstring& name) const {
    RegistryKeyPath child = *this;
    child.m_names.push_back(name);
    return child;
}

std::wstring RegistryKeyPath::Subkey() const {
    std::wstring joined;
    for (const auto& name : m_names) {
        if (!joined.empty()) joined += L'\\';
        joined += name;
    }
    return joined;
}

std::wstring RegistryKeyPath::ToString() const {
    std::wstring text = RootName(m_root);
    for (const auto& name : m_names) text += L'\\' + name;
    return text;
}

const wchar_t* RegistryKeyPath::RootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return L"HKCR";
        case RegistryRoot::CurrentUser:
            return L"HKCU";
        case RegistryRoot::LocalMachine:
            return L"HKLM";
        case RegistryRoot::Users:
            return L"HKU";
        case RegistryRoot::CurrentConfig:
            return L"HKCC";
    }
    return L"?";
}
