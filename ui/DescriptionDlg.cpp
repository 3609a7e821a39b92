#include "DescriptionDlg.h"

CDescriptionDlg::CDescriptionDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_brushBackground(CreateSolidBrush(RGB(255, 255, 255))) {}

void CDescriptionDlg::DoDataExchange(CDataExchange& dx) {
    dx.Text(IDC_TITLE, m_strTitle);
    dx.Text(IDC_SUBJECT, m_strSubject);
    dx.Text(IDC_KEYWORDS, m_strKeywords);
    dx.Text(IDC_AUTHOR, m_strAuthor);
}

HBRUSH CDescriptionDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    HBRUSH brush = DefaultCtlColor(dc, control, kind);
    if (kind == WM_CTLCOLORDLG) return m_brushBackground.Get();
    if (kind == WM_CTLCOLORSTATIC) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return brush;
}
