#include "WindowSubclass.h"

namespace {
const wchar_t kProperty[] = L"Quillset.WindowSubclass";
}

bool WindowSubclass::Install(HWND hWnd, Handler handler) {
    Remove();
    if (!hWnd || !SetPropW(hWnd, kProperty, this)) return false;
    m_hWnd = hWnd;
    m_handler = std::move(handler);
    m_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSubclass::Procedure)));
    return true;
}

void WindowSubclass::Remove() {
    if (!m_hWnd) return;
    // Only undo our own link: someone may have subclassed the window after us.
    if (GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowSubclass::Procedure))
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    RemovePropW(m_hWnd, kProperty);
    m_hWnd = nullptr;
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<WindowSubclass*>(GetPropW(hWnd, kProperty));
    if (!self) return DefWindowProcW(hWnd, message, wParam, lParam);
    const WNDPROC previous = self->m_previous;
    try {
        LRESULT result = 0;
        if (message != WM_NCDESTROY && self->m_handler && self->m_handler(message, wParam, lParam, result))
            return result;
    } catch (...) {
        // No exception crosses a window procedure; the window's own procedure answers.
    }
    if (message == WM_NCDESTROY) self->Remove();
    return CallWindowProcW(previous, hWnd, message, wParam, lParam);
}
