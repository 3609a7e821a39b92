#include "MessageBoxWatcher.h"

#include <algorithm>

MessageBoxWatcher::MessageBoxWatcher(int button, bool anyProcess)
    : m_button(button), m_anyProcess(anyProcess), m_thread([this] { Watch(); }) {}

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
    auto* watcher = reinterpret_cast<MessageBoxWatcher*>(self);
    if ((watcher->m_anyProcess || process == GetCurrentProcessId()) && wcscmp(className, L"#32770") == 0 &&
        IsWindowVisible(window) && GetDlgItem(window, 0xFFFF))
        watcher->Answer(window);
    return TRUE;
}

void MessageBoxWatcher::Answer(HWND box) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (std::find(m_answered.begin(), m_answered.end(), box) == m_answered.end()) {
            m_seen.push_back(Read(box));
            if (m_note) m_seen.back().noted = m_note();
            m_answered.push_back(box);
        }
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_button.load(), BN_CLICKED), 0);
}

SeenMessageBox MessageBoxWatcher::Read(HWND box) {
    SeenMessageBox seen;
    wchar_t caption[256] = {};
    wchar_t text[2048] = {};
    GetWindowTextW(box, caption, 256);
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    seen.caption = caption;
    seen.text = text;
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button)) seen.buttons.push_back(id);
    }
    // The icon is the static control 0x440 of the box's template, hidden when there is none.
    HWND iconControl = GetDlgItem(box, 0x440);
    if (iconControl && IsWindowVisible(iconControl)) {
        const HICON icon = reinterpret_cast<HICON>(SendMessageW(iconControl, STM_GETICON, 0, 0));
        const struct {
            LPCWSTR id;
            UINT style;
        } kinds[] = {{IDI_HAND, MB_ICONERROR},
                     {IDI_EXCLAMATION, MB_ICONWARNING},
                     {IDI_QUESTION, MB_ICONQUESTION},
                     {IDI_ASTERISK, MB_ICONINFORMATION}};
        for (const auto& kind : kinds)
            if (icon && icon == LoadIconW(nullptr, kind.id)) seen.icon = kind.style;
    }
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}
