#include "MessageBoxWatcher.h"

#include <algorithm>

MessageBoxWatcher::MessageBoxWatcher(int button) : m_button(button), m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

void MessageBoxWatcher::Watch() {
    while (!m_stop) {
        EnumWindows(&MessageBoxWatcher::OnWindow, reinterpret_cast<LPARAM>(this));
        Sleep(25);
    }
}

BOOL CALLBACK MessageBoxWatcher::OnWindow(HWND window, LPARAM self) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // Message boxes are dialogs of class #32770 with a static control 0xFFFF.
    if (process == GetCurrentProcessId() && wcscmp(className, L"#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, 0xFFFF))
        reinterpret_cast<MessageBoxWatcher*>(self)->Answer(window);
    return TRUE;
}

void MessageBoxWatcher::Answer(HWND box) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (std::find(m_answered.begin(), m_answered.end(), box) == m_answered.end()) {
            wchar_t caption[256] = {};
            wchar_t text[2048] = {};
            GetWindowTextW(box, caption, 256);
            GetDlgItemTextW(box, 0xFFFF, text, 2048);
            m_seen.push_back({caption, text});
            m_answered.push_back(box);
        }
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_button.load(), BN_CLICKED), 0);
}
