#include "SecurityDlg.h"

#include "ControlClass.h"

CSecurityDlg::CSecurityDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_brushBackground(CreateSolidBrush(RGB(255, 255, 255))) {}

void CSecurityDlg::DoDataExchange(CDataExchange& dx) {
    dx.Radio(IDC_ENCRYPTION_LOW, m_nEncryptionLevel);
    dx.Check(IDC_ENABLE_OWNER_PASSWORD, m_bOwnerPassword);
    dx.Check(IDC_ENABLE_USER_PASSWORD, m_bUserPassword);
    dx.Check(IDC_ENABLE_SECURITY, m_bSecurity);
    dx.Check(IDC_CONTENT_COPYING, m_bCopying);
    dx.Check(IDC_FORM_FILLING, m_bFormFilling);
    dx.Check(IDC_CHANGING, m_bChanging);
    dx.Check(IDC_PRINTING, m_bPrinting);
    dx.Text(IDC_OWNER_PASSWORD, m_strOwnerPassword);
    dx.Text(IDC_USER_PASSWORD, m_strUserPassword);
}

BOOL CSecurityDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_ENCRYPTION_LOW, TRUE);
    CheckDlgButton(IDC_ENABLE_SECURITY, FALSE);
    EnableSecurityControls(false);
    return TRUE;
}

bool CSecurityDlg::OnCommand(WORD id, WORD code) {
    static const Command<CSecurityDlg> commands[] = {
        {IDC_ENABLE_SECURITY, BN_CLICKED, &CSecurityDlg::OnBnClickedEnableSecurity},
        {IDC_ENABLE_USER_PASSWORD, BN_CLICKED, &CSecurityDlg::OnBnClickedEnableUserPassword},
        {IDC_ENABLE_OWNER_PASSWORD, BN_CLICKED, &CSecurityDlg::OnBnClickedEnableOwnerPassword},
    };
    return Commands(commands, id, code) || CDialog::OnCommand(id, code);
}

void CSecurityDlg::EnableSecurityControls(bool on) {
    Enable(IDC_OWNER_PASSWORD, false);
    CheckDlgButton(IDC_ENABLE_OWNER_PASSWORD, FALSE);
    Enable(IDC_ENABLE_OWNER_PASSWORD, on);
    Enable(IDC_USER_PASSWORD, false);
    CheckDlgButton(IDC_ENABLE_USER_PASSWORD, FALSE);
    Enable(IDC_ENABLE_USER_PASSWORD, on);
    for (int id : {IDC_CONTENT_COPYING, IDC_FORM_FILLING, IDC_CHANGING, IDC_PRINTING, IDC_ENCRYPTION_HIGH,
                   IDC_ENCRYPTION_LOW})
        Enable(id, on);
}

void CSecurityDlg::OnBnClickedEnableSecurity() {
    EnableSecurityControls(IsDlgButtonChecked(IDC_ENABLE_SECURITY));
    UpdateData(true);
}

void CSecurityDlg::OnBnClickedEnableUserPassword() {
    const BOOL checked = IsDlgButtonChecked(IDC_ENABLE_USER_PASSWORD);
    Enable(IDC_USER_PASSWORD, checked);
    CheckDlgButton(IDC_ENABLE_OWNER_PASSWORD, checked);
    Enable(IDC_OWNER_PASSWORD, checked);
    UpdateData(true);
}

void CSecurityDlg::OnBnClickedEnableOwnerPassword() {
    Enable(IDC_OWNER_PASSWORD, IsDlgButtonChecked(IDC_ENABLE_OWNER_PASSWORD));
    UpdateData(true);
}

HBRUSH CSecurityDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    HBRUSH brush = DefaultCtlColor(dc, control, kind);
    if (kind == WM_CTLCOLORDLG) return m_brushBackground.Get();
    if (ControlClass::Contains(control, L"Button")) {
        SetBkColor(dc, RGB(255, 255, 255));
        return m_brushBackground.Get();
    }
    if (kind == WM_CTLCOLORSTATIC && !ControlClass::Contains(control, L"Edit")) SetBkColor(dc, RGB(255, 255, 255));
    return brush;
}
