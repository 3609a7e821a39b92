#include "DataExchange.h"

#include "Wnd.h"

void CDataExchange::Text(int id, std::wstring& value) const {
    CWnd control(GetDlgItem(m_hDlg, id));
    if (m_bSaveAndValidate)
        value = control.GetWindowText();
    else
        control.SetWindowText(value);
}

void CDataExchange::Check(int id, int& value) const {
    if (m_bSaveAndValidate)
        value = IsDlgButtonChecked(m_hDlg, id) == BST_CHECKED ? 1 : 0;
    else
        CheckDlgButton(m_hDlg, id, value ? BST_CHECKED : BST_UNCHECKED);
}

void CDataExchange::Radio(int firstId, int& value) const {
    HWND first = GetDlgItem(m_hDlg, firstId);
    if (m_bSaveAndValidate) value = -1;
    int index = 0;
    // The group runs from its first button to the next control that starts a group.
    for (HWND button = first; button; button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != first && (GetWindowLongPtrW(button, GWL_STYLE) & WS_GROUP)) break;
        if (!(SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (m_bSaveAndValidate) {
            if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void CDataExchange::Control(int id, CWnd& control) const {
    HWND item = GetDlgItem(m_hDlg, id);
    if (control.GetSafeHwnd() != item) control.Bind(item);  // once per window
}
