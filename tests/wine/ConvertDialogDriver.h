#pragma once
// Drives a Convert dialog that runs modally on another thread of this process
// through its windows, as a user would: the folder edit, the pages, "Convert",
// the status line, and the Finish dialog that follows a successful run.
#include <windows.h>

#include <string>
#include <vector>

class ConvertDialogDriver {
public:
    // Waits at most 10 s for the Convert dialog of thread `threadId`.
    explicit ConvertDialogDriver(DWORD threadId);

    HWND Dialog() const { return m_dialog; }
    DWORD ThreadId() const { return m_threadId; }
    bool IsOpen() const { return IsWindow(m_dialog) != FALSE; }
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text) const;
    std::wstring Status() const;
    // Posted as a click, so that a message box it shows does not block the caller.
    void Click(int id) const;
    void SysCommand(UINT command) const;
    // Selects a tab as a click on it would.
    void SelectTab(int index) const;

    // The option page of tab `tab` (0 Description, 1 Security, 2 Advanced), and its controls.
    HWND Page(int tab) const;
    HWND PageItem(int tab, int id) const { return GetDlgItem(Page(tab), id); }
    void ClickOnPage(int tab, int id) const;
    void SetTextOnPage(int tab, int id, const std::wstring& text) const;
    bool IsCheckedOnPage(int tab, int id) const;

    // The Finish dialog on the dialog's thread, waited for at most `timeoutMs`; null if none came.
    HWND WaitForFinish(DWORD timeoutMs) const;
    static std::vector<std::wstring> FinishFiles(HWND finish);
    // Polls until the status text is `text`; false after `timeoutMs`.
    bool WaitForStatus(const std::wstring& text, DWORD timeoutMs) const;

    // A message box shown on the dialog's thread; null if none.
    HWND MessageBox() const { return FindDialog(m_threadId, 0xFFFF); }

    // A top-level dialog of `threadId` that has a control `id`; null if none.
    static HWND FindDialog(DWORD threadId, int id);

private:
    DWORD m_threadId;
    HWND m_dialog = nullptr;
};
