#pragma once
// Moves values between a dialog's controls and its members, in the direction
// the dialog's UpdateData asks for; one DoDataExchange serves both.
#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) : m_hDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // Controls to members when true, members to controls when false.
    bool SaveAndValidate() const { return m_bSaveAndValidate; }

    void Text(int id, std::wstring& value) const;
    // 0 or 1: the check box's state.
    void Check(int id, int& value) const;
    // Index of the checked button in the group that starts at `firstId`; -1 for none.
    void Radio(int firstId, int& value) const;
    // Binds a control object to its control, once per dialog window.
    void Control(int id, CWnd& control) const;

private:
    HWND m_hDlg;
    bool m_bSaveAndValidate;
};
