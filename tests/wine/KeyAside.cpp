#include "KeyAside.h"

#include "UniqueHandle.h"

KeyAside::KeyAside(HKEY root, std::wstring key, REGSAM view) : m_root(root), m_key(std::move(key)), m_view(view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(m_root, m_key.c_str(), 0, KEY_QUERY_VALUE | m_view, &opened) != ERROR_SUCCESS) return;
    UniqueRegistryKey held(opened);
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    m_existed = RegGetValueW(opened, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS;
    m_saved = value;
}

KeyAside::~KeyAside() {
    if (m_existed)
        Set(m_saved);
    else
        Remove();
}

bool KeyAside::Set(const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(m_root, m_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | m_view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    UniqueRegistryKey held(key);
    return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void KeyAside::Remove() {
    RegDeleteKeyExW(m_root, m_key.c_str(), m_view, 0);
}
