#include "ConvertDlg.h"

#include <commctrl.h>
#include <shlobj.h>

#include "AppMessageBox.h"
#include "ConversionRun.h"
#include "ConversionWorker.h"
#include "GhostscriptRun.h"
#include "ModulePath.h"
#include "OutputFile.h"
#include "OutputNaming.h"
#include "UniqueItemIdList.h"

namespace {

const wchar_t kBusy[] = L"Working now,Hold for a moment!";
const wchar_t kBeginConvert[] = L"Begin Convert";
const wchar_t kWaitingForPrinter[] = L"Waiting for printer";

bool Refuse(const wchar_t* text) {
    AppMessageBox::Show(text);
    return false;
}

// A drive root already ends with one; a second would only lengthen every path.
std::wstring WithFinalBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    ~PaintScope() { EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

void CollectDescription(const CDescriptionDlg& page, ConversionOptions& options) {
    options.title = page.m_strTitle;
    options.author = page.m_strAuthor;
    options.subject = page.m_strSubject;
    options.keywords = page.m_strKeywords;
}

void CollectSecurity(const CSecurityDlg& page, ConversionOptions& options) {
    options.securityEnabled = page.m_bSecurity;
    options.userPasswordEnabled = page.m_bUserPassword;
    options.userPassword = page.m_strUserPassword;
    options.ownerPasswordEnabled = page.m_bOwnerPassword;
    options.ownerPassword = page.m_strOwnerPassword;
    options.permissionCopying = page.m_bCopying;
    options.permissionFormFilling = page.m_bFormFilling;
    options.permissionChanging = page.m_bChanging;
    options.permissionPrinting = page.m_bPrinting;
    options.encryptionLevel = page.m_nEncryptionLevel;
}

void CollectAdvanced(const CAdvancedDlg& page, ConversionOptions& options) {
    options.documentCompression = page.DocumentCompressionText();
    options.imageCompression = page.ImageCompressionText();
    options.jpegQuality = page.JpegQualityText();
    options.pdfVersion = page.PdfVersionText();
}

}  // namespace

CConvertDlg::CConvertDlg() : CDialog(IDD), m_dlgFinish(this), m_pages(m_tabCtrl) {}

// The window goes while the members it uses (font, icons, pages) still live.
CConvertDlg::~CConvertDlg() {
    if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

void CConvertDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_CONVERT_TABS, m_tabCtrl);
}

BOOL CConvertDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcons();
    SetLabelFont();
    m_pages.Add(L"Description", m_pageDescription);
    m_pages.Add(L"Security", m_pageSecurity);
    m_pages.Add(L"Advanced", m_pageAdvanced);
    m_pages.Show(0);
    m_strOutputFolder = DefaultOutputFolder();
    GetDlgItem(IDC_OUTPUT_FOLDER).SetWindowText(m_strOutputFolder);
    return TRUE;
}

// The presentation's folder; for a deck in the cloud, the user's Documents folder.
std::wstring CConvertDlg::DefaultOutputFolder() const {
    if (OutputNaming::IsWebAddress(m_strPresentationPath)) {
        wchar_t documents[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents))) return {};
        return WithFinalBackslash(documents);
    }
    const std::size_t slash = m_strPresentationPath.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : m_strPresentationPath.substr(0, slash + 1);
}

void CConvertDlg::SetIcons() {
    auto load = [](int width, int height) {
        return static_cast<HICON>(
            LoadImageW(ModulePath::Instance(), MAKEINTRESOURCEW(IDI_QUILLSET), IMAGE_ICON, width, height, 0));
    };
    m_iconBig.Reset(load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    m_iconSmall.Reset(load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_iconBig.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_iconSmall.Get()));
}

void CConvertDlg::SetLabelFont() {
    LOGFONTW font{};
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!dialogFont || !GetObjectW(dialogFont, sizeof(font), &font)) return;
    font.lfHeight += 2;
    font.lfWidth += 3;
    font.lfWeight = 3;
    m_fontLabels.Reset(CreateFontIndirectW(&font));
    for (int id : {IDC_OUTPUT_LABEL, IDC_STATUS_LABEL})
        GetDlgItem(id).SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLabels.Get()), TRUE);
}

bool CConvertDlg::OnCommand(WORD id, WORD code) {
    static const Command<CConvertDlg> commands[] = {
        {IDOK, BN_CLICKED, &CConvertDlg::OnBnClickedConvert},
        {IDC_BROWSE, BN_CLICKED, &CConvertDlg::OnBnClickedBrowse},
    };
    return Commands(commands, id, code) || CDialog::OnCommand(id, code);
}

bool CConvertDlg::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_tabCtrl.GetSafeHwnd() || header.code != TCN_SELCHANGE) return false;
    OnTabSelChange();
    result = 0;
    return true;
}

void CConvertDlg::OnTabSelChange() {
    m_pages.Show(m_tabCtrl.GetCurSel());
}

HBRUSH CConvertDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    HBRUSH brush = DefaultCtlColor(dc, control, kind);
    if (kind != WM_CTLCOLORSTATIC) return brush;
    SetBkMode(dc, TRANSPARENT);
    if (GetDlgCtrlID(control) == IDC_OUTPUT_LABEL) SetTextColor(dc, RGB(190, 0, 0));
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// Two white panels behind the frames, below the frame lines' top.
bool CConvertDlg::OnPaint() {
    PaintScope paint(m_hWnd);
    UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    for (int id : {IDC_UPPER_FRAME, IDC_LOWER_FRAME}) {
        RECT rect{};
        GetWindowRect(::GetDlgItem(m_hWnd, id), &rect);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        rect.top += 6;
        FillRect(paint.Dc(), &rect, white.Get());
    }
    return true;
}

// Closing while the run waits for the printer goes on to Cancel, which ends the wait.
bool CConvertDlg::OnSysCommand(UINT command, LPARAM) {
    return command == SC_CLOSE && !m_bWaitingForPrinter && RefusedWhileBusy();
}

void CConvertDlg::OnCancel() {
    if (CancelledWait() || !RefusedWhileBusy()) CDialog::OnCancel();
}

// The modal loop still serves the worker until it has ended, without a report.
bool CConvertDlg::CancelledWait() const {
    return m_bConverting && m_bWaitingForPrinter && SetEvent(m_cancelRun.Get());
}

bool CConvertDlg::RefusedWhileBusy() const {
    if (!m_bConverting) return false;
    AppMessageBox::Show(kBusy);
    return true;
}

void CConvertDlg::OnBnClickedBrowse() {
    if (RefusedWhileBusy()) return;
    BROWSEINFOW info{};
    info.hwndOwner = m_hWnd;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_USENEWUI;
    UniqueItemIdList picked(SHBrowseForFolderW(&info));
    // Whole, however long: SHGetPathFromIDListW stops at MAX_PATH.
    UniqueShellString path;
    if (!picked || FAILED(SHGetNameFromIDList(picked.Get(), SIGDN_FILESYSPATH, path.Put())) || !path) return;
    GetDlgItem(IDC_OUTPUT_FOLDER).SetWindowText(WithFinalBackslash(path.Get()));
}

void CConvertDlg::OnTimer(UINT_PTR id) {
    if (id == kStatusTimer) OnStatusTimer();
    if (id == kFinishTimer) OnFinishTimer();
}

void CConvertDlg::OnStatusTimer() {
    if (++m_nDotCount == 7) {
        m_nDotCount = 0;
        SetStatus(StatusBase());
        return;
    }
    SetStatus(GetDlgItem(IDC_STATUS).GetWindowText() + L".");
}

// Ends the run that succeeded: "Convert" stays refused until its Finish dialog closes.
void CConvertDlg::OnFinishTimer() {
    KillTimer(m_hWnd, kFinishTimer);
    if (m_dlgFinish.GetSafeHwnd()) return;  // already shown
    m_dlgFinish.DoModal();
    m_bConverting = 0;
}

void CConvertDlg::SetStatus(const std::wstring& text) const {
    // The transparent control repaints its background only when shown anew.
    CWnd status = GetDlgItem(IDC_STATUS);
    status.SetWindowText(text);
    status.ShowWindow(SW_HIDE);
    status.ShowWindow(SW_SHOW);
}

void CConvertDlg::OnBnClickedConvert() {
    UpdateData(true);
    if (RefusedWhileBusy() || !PasswordsAccepted()) return;
    // Before anything is printed: the engine would stop on a text it does not know.
    std::wstring refusal;
    if (!m_pageAdvanced.TakeTypedTexts(refusal)) {
        Refuse(refusal.c_str());
        return;
    }
    m_strOutputFolder = GetDlgItem(IDC_OUTPUT_FOLDER).GetWindowText();
    // A relative text would name a folder below whatever PowerPoint's current one is.
    if (!OutputFile::IsFolder(m_strOutputFolder)) {
        Refuse(L"Wrong Path cause wrong, Input a valid file path!");
        return;
    }
    SetStatus(kBeginConvert);
    SetTimer(m_hWnd, kStatusTimer, 500, nullptr);
    StartConversion();
}

// A user password is never accepted without an owner password.
bool CConvertDlg::PasswordsAccepted() {
    CSecurityDlg& page = m_pageSecurity;
    page.UpdateData(true);
    if (page.m_bOwnerPassword && page.m_strOwnerPassword.empty())
        return Refuse(L"Please Input OwnerPassword");
    if (page.m_bUserPassword && page.m_strUserPassword.empty()) return Refuse(L"Please Input UserPassword");
    // Ghostscript would get such a character changed, and the PDF another password.
    if ((page.m_bOwnerPassword && !GhostscriptRun::IsPlainPassword(page.m_strOwnerPassword)) ||
        (page.m_bUserPassword && !GhostscriptRun::IsPlainPassword(page.m_strUserPassword)))
        return Refuse(GhostscriptRun::kPasswordRefusal);
    if (!page.m_bUserPassword || !page.m_strOwnerPassword.empty()) return true;
    page.m_bOwnerPassword = 1;
    page.GetDlgItem(IDC_OWNER_PASSWORD).EnableWindow(true);
    page.UpdateData(false);
    return Refuse(L"Please Input OwnerPassword");
}

void CConvertDlg::StartConversion() {
    CollectOptions();
    m_dlgFinish.m_strFolder = WithFinalBackslash(GetDlgItem(IDC_OUTPUT_FOLDER).GetWindowText());
    // Raised here, before the worker exists, so that no second Convert can start another.
    m_bConverting = 1;
    m_cancelRun.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_worker = ConversionWorker::Start(m_options, m_hWnd, m_cancelRun.Get());
    if (m_worker) return;
    ConversionRun(m_options).ReportFailure();
    KillTimer(m_hWnd, kStatusTimer);
    EndRun(false);
}

void CConvertDlg::CollectOptions() {
    m_pageAdvanced.UpdateData(true);
    m_pageSecurity.UpdateData(true);
    m_pageDescription.UpdateData(true);
    ConversionOptions options;
    options.presentationPath = m_strPresentationPath;
    options.outputFolder = m_strOutputFolder;
    CollectDescription(m_pageDescription, options);
    CollectSecurity(m_pageSecurity, options);
    CollectAdvanced(m_pageAdvanced, options);
    m_options = options;
}

bool CConvertDlg::OnAppMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == ConversionWorker::kRunEndingMessage) {
        KillTimer(m_hWnd, kStatusTimer);
        return true;
    }
    if (message == ConversionWorker::kRunWaitingMessage) {
        OnRunWaiting(wParam != 0);
        return true;
    }
    if (message != ConversionWorker::kRunEndedMessage) return false;
    EndRun(wParam != 0);
    return true;
}

void CConvertDlg::OnRunWaiting(bool waiting) {
    m_bWaitingForPrinter = waiting;
    m_nDotCount = 0;
    SetStatus(StatusBase());
}

// What the status animation starts from.
const wchar_t* CConvertDlg::StatusBase() const {
    return m_bWaitingForPrinter ? kWaitingForPrinter : kBeginConvert;
}

// After a success "Convert" stays refused until the Finish dialog of that run has closed.
void CConvertDlg::EndRun(bool produced) {
    m_bWaitingForPrinter = false;
    SetStatus(L"Over!");
    if (produced) {
        m_dlgFinish.m_lstFiles.push_back(ConversionRun(m_options).OutputFileName());
        if (SetTimer(m_hWnd, kFinishTimer, 1000, nullptr)) return;
    }
    m_bConverting = 0;
}
