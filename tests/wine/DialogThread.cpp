#include "DialogThread.h"

#include <objbase.h>

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() > end) return false;
        Sleep(20);
    }
    return true;
}

DialogThread::DialogThread(std::function<void()> run, std::function<void()> prepare)
    : m_thread([this, run = std::move(run), prepare = std::move(prepare)] {
          CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as on PowerPoint's thread
          m_threadId = GetCurrentThreadId();
          if (prepare) prepare();
          run();
          CoUninitialize();
          m_ended = true;
      }) {}

DialogThread::~DialogThread() {
    m_thread.join();
}

HWND DialogThread::Window() {
    HWND found = nullptr;
    WaitFor([&] {
        if (!m_threadId) return false;
        EnumThreadWindows(
            m_threadId,
            [](HWND window, LPARAM result) WINAPI -> BOOL {
                if (!IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found != nullptr;
    });
    return found;
}

HWND DialogThread::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(m_threadId, &info) ? info.hwndFocus : nullptr;
}

bool DialogThread::WaitForEnd() {
    return WaitFor([this] { return m_ended.load(); });
}
