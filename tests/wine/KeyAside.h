#pragma once
// A registry key's default text, set or removed for a test, and put back as it
// was at the end: a key that was not there goes again, with the parents that
// setting it made. In the given registry view.
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
    // A key's default text, in `view`; false when the key or its text is not there.
    static bool Read(HKEY root, const std::wstring& key, REGSAM view, std::wstring& text);

private:
    bool Exists(const std::wstring& key) const;

    HKEY m_root;
    std::wstring m_key;
    REGSAM m_view;
    bool m_hadText = false;
    std::wstring m_lowestExisting;  // the nearest of the key and its parents that exists
    std::wstring m_saved;
};
