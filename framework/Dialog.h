#pragma once
// Dialogs built from dialog-template resources: modal ones with their own
// message loop, and child pages created inside another window. A derived
// dialog overrides what it handles and lists its command handlers in one
// table (see Commands).
#include <windows.h>

#include <cstddef>

#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally over its parent (or the active window); returns
    // the EndDialog result, -1 when the window cannot be made.
    INT_PTR DoModal();
    // Makes the dialog as a child of `parent`, hidden unless its template says otherwise.
    bool Create(HWND parent);
    // Controls to members when true, members to controls when false.
    bool UpdateData(bool bSaveAndValidate = true);
    void EndDialog(int nResult);

    BOOL IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    void CheckDlgButton(int id, BOOL check) const {
        ::CheckDlgButton(m_hWnd, id, check ? BST_CHECKED : BST_UNCHECKED);
    }

    // Keyboard and mouse input goes to the innermost of our dialogs around its
    // window, so Tab, Enter and Escape in a page are the page's.
    static bool PreTranslateInput(MSG& msg);

protected:
    // Runs the data exchange members to controls.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    // Reads the controls and ends the dialog; a page makes it do nothing.
    virtual void OnOK();
    // Ends the dialog; a page makes it do nothing.
    virtual void OnCancel();
    // WM_COMMAND; the default handles IDOK and IDCANCEL.
    virtual bool OnCommand(WORD id, WORD code);
    virtual bool OnNotify(const NMHDR&, LRESULT&) { return false; }
    // WM_CTLCOLOR*: `kind` is the message. The default answers the system's brush.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    HBRUSH DefaultCtlColor(HDC dc, HWND control, UINT kind) const;
    // WM_TIMER; the system's processing follows either way.
    virtual void OnTimer(UINT_PTR) {}
    // WM_PAINT; false leaves the painting to the system.
    virtual bool OnPaint() { return false; }
    // WM_SYSCOMMAND; true drops the command, false lets the system carry it out.
    virtual bool OnSysCommand(UINT, LPARAM) { return false; }
    // Messages from WM_APP on; true when handled.
    virtual bool OnAppMessage(UINT, WPARAM, LPARAM) { return false; }
    // Signalled once no other thread works for this dialog any more. Until
    // then the modal loop does not return, even when the dialog ended, its
    // window was destroyed from outside or a quit arrived (the quit is posted
    // again afterwards). None by default.
    virtual HANDLE ModalLoopHold() const { return nullptr; }

    // One row of a dialog's command table.
    template <typename Dialog>
    struct Command {
        WORD id;
        WORD code;
        void (Dialog::*handler)();
    };
    // Calls the handler listed for (id, code); false when none is.
    template <typename Dialog, std::size_t N>
    bool Commands(const Command<Dialog> (&table)[N], WORD id, WORD code) {
        for (const Command<Dialog>& row : table)
            if (row.id == id && row.code == code) {
                (static_cast<Dialog*>(this)->*row.handler)();
                return true;
            }
        return false;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static CDialog* FromHandle(HWND hWnd);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Notify(const NMHDR& header);
    void RunModalLoop();
    bool Held() const;
    HWND Owner() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};
