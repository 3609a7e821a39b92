#pragma once
// Hosts the three option pages in a tab control the way the Convert dialog
// does, and counts what reaches its own OK button.
#include "AdvancedDlg.h"
#include "DescriptionDlg.h"
#include "Dialog.h"
#include "PageHostIds.h"
#include "SecurityDlg.h"
#include "TabCtrlEx.h"
#include "TabPages.h"

class CPageHostDlg : public CDialog {
public:
    CPageHostDlg() : CDialog(IDD_PAGE_HOST), m_pages(m_tabCtrl) {}

    CTabCtrlEx m_tabCtrl;
    CDescriptionDlg m_pageDescription;
    CSecurityDlg m_pageSecurity;
    CAdvancedDlg m_pageAdvanced;
    CTabPages m_pages;
    int m_nOkCount = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override { dx.Control(IDC_HOST_TABS, m_tabCtrl); }
    BOOL OnInitDialog() override;
    void OnOK() override { ++m_nOkCount; }
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
};
