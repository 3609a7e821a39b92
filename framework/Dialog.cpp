#include "Dialog.h"

#include <commctrl.h>

#include "ModulePath.h"

namespace {

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

void RegisterControlClasses() {
    // Templates name common-control classes (tab control); register them once.
    static const bool done = [] {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal() {
    RegisterControlClasses();
    HWND owner = Owner();
    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    // The owner goes inactive before the dialog exists: a template with WS_VISIBLE
    // shows the dialog while it is created, and the owner must not take input then.
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    if (!CreateDialogParamW(ModulePath::Instance(), MAKEINTRESOURCEW(m_nIDTemplate), owner, DialogProc,
                            reinterpret_cast<LPARAM>(this))) {
        if (disableOwner) ::EnableWindow(owner, TRUE);
        return -1;
    }
    if (!m_bEndModal) {
        ShowWindow(SW_SHOW);
        RunModalLoop();
    }
    // Give activation back to the owner before the dialog disappears.
    if (disableOwner) ::EnableWindow(owner, TRUE);
    if (owner && GetActiveWindow() == m_hWnd) SetActiveWindow(owner);
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_bModal = false;
    return m_nModalResult;
}

bool CDialog::Create(HWND parent) {
    RegisterControlClasses();
    m_bModal = false;
    return CreateDialogParamW(ModulePath::Instance(), MAKEINTRESOURCEW(m_nIDTemplate), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool CDialog::UpdateData(bool bSaveAndValidate) {
    if (!m_hWnd) return false;
    CDataExchange dx(m_hWnd, bSaveAndValidate);
    DoDataExchange(dx);
    return true;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (!m_bModal) {
        ShowWindow(SW_HIDE);
        return;
    }
    PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
}

bool CDialog::PreTranslateInput(MSG& msg) {
    if (!IsInput(msg.message)) return false;
    for (HWND window = msg.hwnd; window; window = GetParent(window)) {
        if (FromHandle(window)) return IsDialogMessageW(window, &msg) != FALSE;
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) break;  // GetParent would give the owner
    }
    return false;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

HBRUSH CDialog::OnCtlColor(HDC dc, HWND control, UINT kind) {
    return DefaultCtlColor(dc, control, kind);
}

HBRUSH CDialog::DefaultCtlColor(HDC dc, HWND control, UINT kind) const {
    return reinterpret_cast<HBRUSH>(
        DefWindowProcW(m_hWnd, kind, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
    } else {
        dialog = FromHandle(hWnd);
    }
    if (!dialog) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // No exception crosses into the system's dialog manager.
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        dialog->m_bEndModal = true;
    }
    return result;
}

CDialog* CDialog::FromHandle(HWND hWnd) {
    if (GetWindowLongPtrW(hWnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&DialogProc)) return nullptr;
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return FALSE;
    case WM_PAINT:
        return OnPaint();
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam & 0xFFF0), lParam);
    default:
        return message >= WM_APP && message <= 0xBFFF && OnAppMessage(message, wParam, lParam);
    }
}

INT_PTR CDialog::Notify(const NMHDR& header) {
    LRESULT result = 0;
    if (!OnNotify(header, result)) return FALSE;
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// PowerPoint quitting (a quit message, its windows destroyed) must not take the
// dialog from under a worker: the loop serves messages until the worker is done.
void CDialog::RunModalLoop() {
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const bool held = Held();
        if ((m_bEndModal || quit) && !held) break;
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HANDLE hold = ModalLoopHold();
            MsgWaitForMultipleObjectsEx(held ? 1 : 0, &hold, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            continue;
        }
        if (PreTranslateInput(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (quit) PostQuitMessage(quitCode);  // leave the quit for the outer loop
}

bool CDialog::Held() const {
    HANDLE hold = ModalLoopHold();
    return hold && WaitForSingleObject(hold, 0) == WAIT_TIMEOUT;
}

HWND CDialog::Owner() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : GetActiveWindow();
    return owner ? GetAncestor(owner, GA_ROOT) : nullptr;
}
