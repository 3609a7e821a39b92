#include "StandInWindow.h"

#include "StandInApplication.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInPresentation.h"
#include "StandInRibbon.h"

const wchar_t* const StandInWindow::kClassName = L"PPTFrameClass";

namespace {
const UINT kRebuildMessage = WM_APP + 1;
const int kFirstButtonId = 1000;
}  // namespace

StandInWindow::StandInWindow(StandInApplication& application) : m_application(application) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &StandInWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    m_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_window = CreateWindowExW(0, kClassName, L"Microsoft PowerPoint", WS_OVERLAPPEDWINDOW, 40, 40, 760, 420,
                               nullptr, nullptr, windowClass.hInstance, this);
    m_application.SetChangeListener([this] {
        if (!m_rebuildPosted && m_window) m_rebuildPosted = PostMessageW(m_window, kRebuildMessage, 0, 0);
    });
    Rebuild();
    ShowWindow(m_window, SW_SHOW);
}

StandInWindow::~StandInWindow() {
    m_application.SetChangeListener(nullptr);
    if (m_window) DestroyWindow(m_window);
}

LRESULT CALLBACK StandInWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<StandInWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT StandInWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnKeyTip(message, wParam, lParam)) return 0;
    switch (message) {
    case kRebuildMessage:
        m_rebuildPosted = false;
        Rebuild();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        // As PowerPoint quits: its window goes, with the windows it owns, then its loop ends.
        DestroyWindow(m_window);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        m_ribbon.reset();
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        m_window = nullptr;
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void StandInWindow::Rebuild() {
    for (HWND child : m_children) DestroyWindow(child);
    m_children.clear();
    m_buttons.clear();
    int top = m_ribbon && !m_ribbon->Empty() ? StandInRibbonStrip::kHeight + 8 : 8;
    for (size_t i = 0; i < m_application.CommandBars().Count(); ++i) top = AddBarRow(i, top);
    std::wstring list = L"Open presentations:";
    for (size_t i = 0; i < m_application.Count(); ++i) {
        const StandInPresentation* p = m_application.At(i);
        list += L"\r\n  " + p->FullName() + (p->Saved() ? L"" : L" (modified)") + L"  [printer: " +
                (p->Printer().empty() ? L"none" : p->Printer()) + L"]";
    }
    HWND text = CreateWindowExW(0, L"STATIC", list.c_str(), WS_CHILD | WS_VISIBLE, 8, top + 8, 720, 200, m_window,
                                nullptr, nullptr, nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_children.push_back(text);
}

int StandInWindow::AddBarRow(size_t barIndex, int top) {
    const StandInCommandBar& bar = m_application.CommandBars().At(barIndex);
    if (!bar.Visible()) return top;
    HWND label = CreateWindowExW(0, L"STATIC", bar.Name().c_str(), WS_CHILD | WS_VISIBLE, 8, top + 12, 80, 20,
                                 m_window, nullptr, nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_children.push_back(label);
    int left = 96;
    for (size_t i = 0; i < bar.Count(); ++i) {
        StandInButton& button = bar.At(i);
        if (!button.Visible()) continue;
        const int id = kFirstButtonId + static_cast<int>(m_buttons.size());
        HWND push = CreateWindowExW(0, L"BUTTON", button.Caption().c_str(),
                                    WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | (button.Enabled() ? 0 : WS_DISABLED),
                                    left, top, 150, 40, m_window, reinterpret_cast<HMENU>(INT_PTR(id)), nullptr,
                                    nullptr);
        SendMessageW(push, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
        if (button.Face()) SendMessageW(push, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(button.Face()));
        m_children.push_back(push);
        m_buttons.push_back(&button);
        left += 158;
    }
    return top + 48;
}

void StandInWindow::OnCommand(int id) {
    const size_t index = static_cast<size_t>(id - kFirstButtonId);
    if (id >= kFirstButtonId && index < m_buttons.size()) m_buttons[index]->Click();
}

void StandInWindow::ShowRibbon(const std::vector<StandInRibbon*>& ribbons) {
    if (!m_window) return;
    if (!m_ribbon && ribbons.empty()) return;
    if (!m_ribbon) m_ribbon = std::make_unique<StandInRibbonStrip>(m_window, m_font, &m_application);
    m_ribbon->Show(ribbons);
    Rebuild();
}

// Alt alone (the menu key, pressed and released) shows the ribbon's key tips;
// typed characters then go to them, Escape ends them.
bool StandInWindow::OnKeyTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_ribbon || m_ribbon->Empty()) return false;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
        m_ribbon->StartKeyTips();
        SetFocus(m_window);
        return true;
    }
    if (!m_ribbon->KeyTipsShown()) return false;
    if (message == WM_CHAR) {
        m_ribbon->Type(static_cast<wchar_t>(wParam));
        return true;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        m_ribbon->EndKeyTips();
        return true;
    }
    return false;
}
