#pragma once
// The "Security" page: passwords, permissions and encryption level. One master
// box enables the rest; each password edit follows its box.
#include <string>

#include "Dialog.h"
#include "UniqueHandle.h"
#include "resource.h"

class CSecurityDlg : public CDialog {
public:
    enum { IDD = IDD_SECURITY };

    explicit CSecurityDlg(CWnd* pParent = nullptr);

    int m_nEncryptionLevel = 0;  // 0 = "Low(40-bit RC4)", 1 = "High(128-bit RC4)"
    int m_bUserPassword = 0;
    int m_bOwnerPassword = 0;
    int m_bSecurity = 0;
    int m_bCopying = 0;
    int m_bFormFilling = 0;
    int m_bChanging = 0;
    int m_bPrinting = 0;
    std::wstring m_strOwnerPassword;
    std::wstring m_strUserPassword;

    // Enables (on) or disables everything below the master box; unchecks both
    // password boxes and disables both password edits either way.
    void EnableSecurityControls(bool on);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    void OnOK() override {}
    void OnCancel() override {}
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

    void OnBnClickedEnableSecurity();
    void OnBnClickedEnableUserPassword();
    void OnBnClickedEnableOwnerPassword();

private:
    void Enable(int id, bool enable) const { GetDlgItem(id).EnableWindow(enable); }

    UniqueBrush m_brushBackground;
};
