#pragma once
// Puts a handler in front of an existing window's procedure. What the handler
// leaves goes on to the window's own procedure; the window gets its procedure
// back when this object goes away or the window is destroyed.
#include <windows.h>

#include <functional>

class WindowSubclass {
public:
    // True when the message is handled; `result` is then the answer.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    WindowSubclass() = default;
    ~WindowSubclass() { Remove(); }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    bool Install(HWND hWnd, Handler handler);
    void Remove();

private:
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_previous = nullptr;
    Handler m_handler;
};
