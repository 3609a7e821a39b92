#pragma once
// The Convert dialog: output folder, the three option pages, the status line,
// and "Convert", which runs one conversion on a worker thread while the dialog
// stays responsive. Run it modally after setting m_strPresentationPath. The
// worker owns a copy of the options and reports back through messages; the
// modal loop does not return while it runs.
#include <atomic>
#include <string>

#include "AdvancedDlg.h"
#include "ConversionOptions.h"
#include "DescriptionDlg.h"
#include "Dialog.h"
#include "FinishDlg.h"
#include "SecurityDlg.h"
#include "TabCtrlEx.h"
#include "TabPages.h"
#include "UniqueHandle.h"
#include "resource.h"

class CConvertDlg : public CDialog {
public:
    enum { IDD = IDD_CONVERT };
    enum { kStatusTimer = 1, kFinishTimer = 2 };

    CConvertDlg();
    ~CConvertDlg() override;

    CTabCtrlEx m_tabCtrl;
    CDescriptionDlg m_pageDescription;
    CSecurityDlg m_pageSecurity;
    CAdvancedDlg m_pageAdvanced;
    // Up from the start of a run until the worker has reported its end and,
    // after a success, until the Finish dialog of that run has closed. Read and
    // written on the user-interface thread only.
    std::atomic<int> m_bConverting{0};
    std::wstring m_strPresentationPath;
    std::wstring m_strOutputFolder;
    int m_nDotCount = 0;
    // The run waits for another of the user's conversions to give up the
    // printer: Cancel and closing end that wait instead of being refused.
    bool m_bWaitingForPrinter = false;
    ConversionOptions m_options;
    CFinishDlg m_dlgFinish;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
    void OnTimer(UINT_PTR id) override;
    bool OnPaint() override;
    bool OnSysCommand(UINT command, LPARAM lParam) override;
    void OnCancel() override;

    void OnBnClickedConvert();
    void OnBnClickedBrowse();
    void OnTabSelChange();

private:
    std::wstring DefaultOutputFolder() const;
    void SetIcons();
    void SetLabelFont();
    bool PasswordsAccepted();
    void StartConversion();
    void CollectOptions();
    bool OnAppMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HANDLE ModalLoopHold() const override { return m_worker.Get(); }
    void EndRun(bool produced);
    void OnRunWaiting(bool waiting);
    bool CancelledWait() const;
    void OnStatusTimer();
    void OnFinishTimer();
    void SetStatus(const std::wstring& text) const;
    const wchar_t* StatusBase() const;
    bool RefusedWhileBusy() const;

    CTabPages m_pages;
    UniqueKernelHandle m_worker;  // the last worker started; signalled once it has exited
    UniqueKernelHandle m_cancelRun;  // set to end the last run's wait for the printer
    UniqueFont m_fontLabels;
    UniqueIcon m_iconBig;
    UniqueIcon m_iconSmall;
};
