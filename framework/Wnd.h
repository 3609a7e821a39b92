#pragma once
// A borrowed window handle with the few operations the dialogs use. Copies
// share the handle; nothing is destroyed when a CWnd goes away.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    CWnd(const CWnd&) = default;
    CWnd& operator=(const CWnd&) = default;
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Control binding from data exchange; wrappers that subclass override it.
    virtual void Bind(HWND hWnd) { m_hWnd = hWnd; }

    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(m_hWnd, id)); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    void EnableWindow(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void MoveWindow(const RECT& rect, bool repaint = true) const;
    RECT GetClientRect() const;

protected:
    HWND m_hWnd = nullptr;
};
