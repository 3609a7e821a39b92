#include "PageHostDlg.h"

#include <commctrl.h>

BOOL CPageHostDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pages.Add(L"Description", m_pageDescription);
    m_pages.Add(L"Security", m_pageSecurity);
    m_pages.Add(L"Advanced", m_pageAdvanced);
    m_pages.Show(0);
    return TRUE;
}

bool CPageHostDlg::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_tabCtrl.GetSafeHwnd() || header.code != TCN_SELCHANGE) return false;
    m_pages.Show(m_tabCtrl.GetCurSel());
    result = 0;
    return true;
}
