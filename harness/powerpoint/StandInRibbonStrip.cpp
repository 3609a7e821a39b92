#include "StandInRibbonStrip.h"

#include <cwctype>

#include "StandInRibbon.h"
#include "UniqueHandle.h"

const wchar_t* const StandInRibbonStrip::kClassName = L"NetUIHWND";

namespace {
const int kFirstButtonId = 100;
const int kTabRow = 22;
const int kLargeWidth = 104, kLargeHeight = 64, kSmallHeight = 24;

// The key tip of the built-in tab a group is put on.
std::wstring TabKeyTip(const std::wstring& idMso) {
    if (idMso == L"TabHome") return L"H";
    if (idMso == L"TabInsert") return L"N";
    if (idMso == L"TabAddIns") return L"X";
    return L"Y";
}

std::wstring TabLabel(const std::wstring& idMso) {
    if (idMso == L"TabHome") return L"Home";
    if (idMso == L"TabInsert") return L"Insert";
    if (idMso == L"TabAddIns") return L"Add-ins";
    return idMso;
}

std::wstring Upper(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}
}  // namespace

StandInRibbonStrip::StandInRibbonStrip(HWND parent, HFONT font, IDispatch* context)
    : m_font(font), m_context(context) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &StandInRibbonStrip::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    RECT client{};
    GetClientRect(parent, &client);
    m_window = CreateWindowExW(0, kClassName, L"Ribbon", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, client.right,
                               kHeight, parent, nullptr, windowClass.hInstance, this);
}

StandInRibbonStrip::~StandInRibbonStrip() {
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
}

LRESULT CALLBACK StandInRibbonStrip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<StandInRibbonStrip*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
        if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kFirstButtonId) {
            self->Click(static_cast<size_t>(LOWORD(wParam) - kFirstButtonId));
            return 0;
        }
        if (self && message == WM_DRAWITEM) {
            self->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (self && message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_window = nullptr;
        }
    } catch (...) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND StandInRibbonStrip::AddChild(const wchar_t* type, const std::wstring& text, DWORD style, RECT place, int id) {
    HWND child = CreateWindowExW(0, type, text.c_str(), WS_CHILD | style, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, m_window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_children.push_back(child);
    return child;
}

void StandInRibbonStrip::Show(const std::vector<StandInRibbon*>& ribbons) {
    EndKeyTips();
    for (HWND child : m_children) DestroyWindow(child);
    m_children.clear();
    m_entries.clear();
    m_tabTips.clear();
    int left = 8;
    std::wstring tab;
    for (StandInRibbon* ribbon : ribbons)
        for (const auto& group : ribbon->Markup().Groups()) {
            if (tab.empty()) tab = group.tabIdMso;
            AddGroup(*ribbon, group, left);
        }
    if (tab.empty()) return;
    AddChild(L"STATIC", TabLabel(tab), WS_VISIBLE | SS_CENTER, {8, 2, 72, kTabRow - 4});
    m_tabTips.push_back(AddChild(L"STATIC", TabKeyTip(tab), WS_BORDER | SS_CENTER, {60, 0, 80, 18}));
}

// The buttons side by side, the group's label under them, a line after it.
void StandInRibbonStrip::AddGroup(StandInRibbon& ribbon, const RibbonMarkup::Group& group, int& left) {
    const int start = left;
    for (const auto& button : group.buttons) {
        const bool large = button.size == L"large";
        const int id = kFirstButtonId + static_cast<int>(m_entries.size());
        const RECT place{left, kTabRow + 2, left + kLargeWidth, kTabRow + 2 + (large ? kLargeHeight : kSmallHeight)};
        HWND push = AddChild(L"BUTTON", button.label, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, place, id);
        HWND tip = AddChild(L"STATIC", button.keyTip, WS_BORDER | SS_CENTER,
                            {left + kLargeWidth / 2 - 14, place.bottom - 8, left + kLargeWidth / 2 + 14, place.bottom + 10});
        m_entries.push_back({&ribbon, &button, TabKeyTip(group.tabIdMso), push, tip});
        left += kLargeWidth + 4;
    }
    AddChild(L"STATIC", group.label, WS_VISIBLE | SS_CENTER, {start, kHeight - 24, left - 4, kHeight - 6});
    AddChild(L"STATIC", L"", WS_VISIBLE | SS_ETCHEDVERT, {left + 2, kTabRow, left + 4, kHeight - 6});
    left += 10;
}

void StandInRibbonStrip::Click(size_t index) {
    if (index < m_entries.size()) m_entries[index].ribbon->Click(*m_entries[index].button, m_context.Get());
}

void StandInRibbonStrip::Draw(const DRAWITEMSTRUCT& item) const {
    const size_t index = item.CtlID - kFirstButtonId;
    if (item.CtlType != ODT_BUTTON || index >= m_entries.size()) return;
    const Entry& entry = m_entries[index];
    RECT box = item.rcItem;
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &box, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int textTop = box.top + 6;
    BITMAP size{};
    if (HBITMAP image = entry.ribbon->Image(entry.button->id); image && GetObjectW(image, sizeof size, &size)) {
        UniqueMemoryDc memory(CreateCompatibleDC(item.hDC));
        HGDIOBJ old = SelectObject(memory.Get(), image);
        BitBlt(item.hDC, (box.left + box.right - size.bmWidth) / 2, textTop, size.bmWidth, size.bmHeight, memory.Get(),
               0, 0, SRCCOPY);
        SelectObject(memory.Get(), old);
        textTop += size.bmHeight + 4;
    }
    RECT text{box.left + 2, textTop, box.right - 2, box.bottom - 2};
    SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ font = SelectObject(item.hDC, m_font);
    DrawTextW(item.hDC, entry.button->label.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK);
    SelectObject(item.hDC, font);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&box, -3, -3);
        DrawFocusRect(item.hDC, &box);
    }
}

void StandInRibbonStrip::StartKeyTips() {
    if (m_entries.empty()) return;
    m_keyTips = true;
    m_typed.clear();
    ShowTips(true);
}

void StandInRibbonStrip::ShowTips(bool tabs) {
    for (HWND tip : m_tabTips) ShowWindow(tip, tabs ? SW_SHOW : SW_HIDE);
    for (const auto& entry : m_entries)
        ShowWindow(entry.tip, !tabs && m_keyTips && entry.tabKeyTip == m_typed.substr(0, 1) ? SW_SHOW : SW_HIDE);
}

void StandInRibbonStrip::EndKeyTips() {
    m_keyTips = false;
    m_typed.clear();
    ShowTips(false);
}

// The tab's letter first, then the button's key tip, letter by letter.
void StandInRibbonStrip::Type(wchar_t character) {
    if (!m_keyTips) return;
    m_typed += static_cast<wchar_t>(std::towupper(character));
    const std::wstring tab = m_typed.substr(0, 1), tip = m_typed.substr(1);
    bool partial = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.tabKeyTip != tab) continue;
        const std::wstring own = Upper(entry.button->keyTip);
        if (!tip.empty() && own == tip) {
            EndKeyTips();
            Click(i);
            return;
        }
        partial = partial || own.rfind(tip, 0) == 0;
    }
    if (!partial) return EndKeyTips();
    ShowTips(false);
}
