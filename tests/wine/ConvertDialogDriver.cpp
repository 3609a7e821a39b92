#include "ConvertDialogDriver.h"

#include <commctrl.h>

#include "DialogThread.h"
#include "resource.h"

namespace {

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK OnThreadWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window) || !GetDlgItem(window, search->id))
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK OnPage(HWND page, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!GetDlgItem(page, search->id)) return TRUE;
    search->found = page;
    return FALSE;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

}  // namespace

ConvertDialogDriver::ConvertDialogDriver(DWORD threadId) : m_threadId(threadId) {
    WaitFor([this] { return (m_dialog = FindDialog(m_threadId, IDC_STATUS)) != nullptr; });
}

HWND ConvertDialogDriver::FindDialog(DWORD threadId, int id) {
    Search search{id, nullptr};
    EnumThreadWindows(threadId, &OnThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ConvertDialogDriver::Text(int id) const {
    return WindowText(GetDlgItem(m_dialog, id));
}

void ConvertDialogDriver::SetText(int id, const std::wstring& text) const {
    SetWindowTextW(GetDlgItem(m_dialog, id), text.c_str());
}

std::wstring ConvertDialogDriver::Status() const {
    return Text(IDC_STATUS);
}

void ConvertDialogDriver::Click(int id) const {
    PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(m_dialog, id)));
}

void ConvertDialogDriver::SysCommand(UINT command) const {
    PostMessageW(m_dialog, WM_SYSCOMMAND, command, 0);
}

void ConvertDialogDriver::SelectTab(int index) const {
    HWND tabs = GetDlgItem(m_dialog, IDC_CONVERT_TABS);
    RECT rect{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(tabs, WM_LBUTTONUP, 0, point);
}

// Each page is known by a control that only it has.
HWND ConvertDialogDriver::Page(int tab) const {
    static const int marker[] = {IDC_AUTHOR, IDC_ENCRYPTION_HIGH, IDC_PDF_VERSION};
    if (tab < 0 || tab > 2) return nullptr;
    Search search{marker[tab], nullptr};
    EnumChildWindows(GetDlgItem(m_dialog, IDC_CONVERT_TABS), &OnPage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ConvertDialogDriver::ClickOnPage(int tab, int id) const {
    SendMessageW(PageItem(tab, id), BM_CLICK, 0, 0);
}

void ConvertDialogDriver::SetTextOnPage(int tab, int id, const std::wstring& text) const {
    SetWindowTextW(PageItem(tab, id), text.c_str());
}

bool ConvertDialogDriver::IsCheckedOnPage(int tab, int id) const {
    return SendMessageW(PageItem(tab, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND ConvertDialogDriver::WaitForFinish(DWORD timeoutMs) const {
    HWND finish = nullptr;
    WaitFor([&] { return (finish = FindDialog(m_threadId, IDC_FINISH_FILES)) != nullptr; }, timeoutMs);
    return finish;
}

std::vector<std::wstring> ConvertDialogDriver::FinishFiles(HWND finish) {
    HWND list = GetDlgItem(finish, IDC_FINISH_FILES);
    std::vector<std::wstring> files;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        wchar_t name[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
        files.push_back(name);
    }
    return files;
}

bool ConvertDialogDriver::WaitForStatus(const std::wstring& text, DWORD timeoutMs) const {
    return WaitFor([&] { return Status() == text; }, timeoutMs);
}
