#include "FinishDlg.h"

#include <shellapi.h>
#include <shlobj.h>

#include "AppMessageBox.h"
#include "ComApartment.h"
#include "ComRef.h"
#include "UniqueHandle.h"
#include "UniqueItemIdList.h"

namespace {

bool Parse(IShellFolder& desktop, const std::wstring& path, UniqueItemIdList& list) {
    std::wstring name = path;  // ParseDisplayName takes a writable string
    return SUCCEEDED(desktop.ParseDisplayName(nullptr, nullptr, name.data(), nullptr, list.Put(), nullptr));
}

}  // namespace

void CFinishDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_FINISH_FILES, m_listBox);
}

BOOL CFinishDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const std::wstring& name : m_lstFiles) m_listBox.AddString(name);
    GetDlgItem(IDC_FINISH_HEADING).SetWindowText(L"Conversion Completes!");
    m_listBox.SetCurSel(0);
    return TRUE;
}

bool CFinishDlg::OnCommand(WORD id, WORD code) {
    static const Command<CFinishDlg> commands[] = {
        {IDC_OPEN_FOLDER, BN_CLICKED, &CFinishDlg::OnBnClickedOpenFolder},
        {IDCANCEL, BN_CLICKED, &CFinishDlg::OnBnClickedClose},
        {IDC_OPEN_FILE, BN_CLICKED, &CFinishDlg::OnBnClickedOpenFile},
    };
    return Commands(commands, id, code) || CDialog::OnCommand(id, code);
}

void CFinishDlg::OnBnClickedOpenFile() {
    const int selected = m_listBox.GetCurSel();
    if (selected == LB_ERR) {
        MessageBoxW(m_hWnd, L"please choose one file !", L"ERROR", MB_OK | MB_ICONERROR);
        return;
    }
    const std::wstring path = m_strFolder + m_listBox.GetText(selected);
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CFinishDlg::OnBnClickedOpenFolder() {
    if (m_listBox.GetCount() <= 0) return;  // no file to show
    const int selected = m_listBox.GetCurSel();
    const std::wstring path = m_strFolder + m_listBox.GetText(selected == LB_ERR ? 0 : selected);
    ComApartment apartment;
    ComRef<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return;
    UniqueItemIdList folder;
    UniqueItemIdList file;
    if (!Parse(*desktop.Get(), m_strFolder, folder) || !Parse(*desktop.Get(), path, file)) {
        AppMessageBox::Show(L"ERROR");
        return;
    }
    LPCITEMIDLIST item = ILFindLastID(file.Get());
    SHOpenFolderAndSelectItems(folder.Get(), 1, &item, 0);
}

void CFinishDlg::OnBnClickedClose() {
    m_lstFiles.clear();
    EndDialog(IDCANCEL);
}
