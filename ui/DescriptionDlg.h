#pragma once
// The "Description" page: title, author, subject and keywords of the PDF file.
#include <string>

#include "Dialog.h"
#include "UniqueHandle.h"
#include "resource.h"

class CDescriptionDlg : public CDialog {
public:
    enum { IDD = IDD_DESCRIPTION };

    explicit CDescriptionDlg(CWnd* pParent = nullptr);

    std::wstring m_strTitle;
    std::wstring m_strSubject;
    std::wstring m_strKeywords;
    std::wstring m_strAuthor;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    // Enter and Escape in a field neither close the page nor reach the Convert dialog.
    void OnOK() override {}
    void OnCancel() override {}
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

private:
    UniqueBrush m_brushBackground;
};
