#pragma once
// A registry key's default text, set or removed for a test, and put back as it
// was (or the key removed) at the end. In the given registry view.
#include <windows.h>

#include <string>

class KeyAside {
public:
    KeyAside(HKEY root, std::wstring key, REGSAM view);
    ~KeyAside();
    KeyAside(const KeyAside&) = delete;
    KeyAside& operator=(const KeyAside&) = delete;

    bool Set(const std::wstring& text);
    void Remove();

private:
    HKEY m_root;
    std::wstring m_key;
    REGSAM m_view;
    bool m_existed = false;
    std::wstring m_saved;
};
