#include "KeyAside.h"

#include "UniqueHandle.h"

KeyAside::KeyAside(HKEY root, std::wstring key, REGSAM view)
    : m_root(root), m_key(std::move(key)), m_view(view) {
    m_lowestExisting = m_key;
    while (!m_lowestExisting.empty() && !Exists(m_lowestExisting)) {
        const size_t slash = m_lowestExisting.find_last_of(L'\\');
        m_lowestExisting = slash == std::wstring::npos ? std::wstring() : m_lowestExisting.substr(0, slash);
    }
    m_hadText = Read(m_root, m_key, m_view, m_saved);
}

// A key that was there keeps its other values; one that had no text gets none back.
KeyAside::~KeyAside() {
    if (m_hadText) {
        Set(m_saved);
    } else if (m_lowestExisting == m_key) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(m_root, m_key.c_str(), 0, KEY_SET_VALUE | m_view, &key) != ERROR_SUCCESS) return;
        UniqueRegistryKey held(key);
        RegDeleteValueW(key, nullptr);
    } else {
        Remove();
    }
}

bool KeyAside::Read(HKEY root, const std::wstring& key, REGSAM view, std::wstring& text) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return false;
    UniqueRegistryKey held(opened);
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(opened, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    text = value;
    return true;
}

bool KeyAside::Set(const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(m_root, m_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | m_view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegistryKey held(key);
    return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool KeyAside::Exists(const std::wstring& key) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(m_root, key.c_str(), 0, KEY_QUERY_VALUE | m_view, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

// The key, and then each parent that setting it made, while empty.
void KeyAside::Remove() {
    RegDeleteKeyExW(m_root, m_key.c_str(), m_view, 0);
    for (std::wstring key = m_key;;) {
        const size_t slash = key.find_last_of(L'\\');
        key = slash == std::wstring::npos ? std::wstring() : key.substr(0, slash);
        if (key.size() <= m_lowestExisting.size() ||
            RegDeleteKeyExW(m_root, key.c_str(), m_view, 0) != ERROR_SUCCESS)
            break;
    }
}
