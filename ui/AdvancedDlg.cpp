#include "AdvancedDlg.h"

#include "ControlClass.h"
#include "OptionVocabulary.h"

namespace {

template <std::size_t N>
void Fill(const CComboBox& list, const wchar_t* const (&entries)[N]) {
    for (const wchar_t* entry : entries) list.AddString(entry);
    list.SetCurSel(0);
}

}  // namespace

CAdvancedDlg::CAdvancedDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_brushBackground(CreateSolidBrush(RGB(255, 255, 255))) {}

void CAdvancedDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_PAGE_LAYOUT, m_cbPageLayout);
    dx.Control(IDC_PAGE_MODE, m_cbPageMode);
    dx.Control(IDC_DOCUMENT_COMPRESSION, m_cbDocumentCompression);
    dx.Control(IDC_IMAGE_COMPRESSION, m_cbImageCompression);
    dx.Control(IDC_JPEG_QUALITY, m_cbJpegQuality);
    dx.Control(IDC_PDF_VERSION, m_cbPdfVersion);
}

BOOL CAdvancedDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Fill(m_cbPageLayout, {L"Continuous"});
    Fill(m_cbPageMode, {L"Normal"});
    Fill(m_cbDocumentCompression, OptionVocabulary::documentCompression);
    Fill(m_cbImageCompression, OptionVocabulary::imageCompression);
    Fill(m_cbJpegQuality, OptionVocabulary::jpegQuality);
    Fill(m_cbPdfVersion, OptionVocabulary::pdfVersion);
    return TRUE;
}

bool CAdvancedDlg::TakeTypedTexts(std::wstring& refusal) const {
    const struct {
        const CComboBox& list;
        const wchar_t* name;
        const wchar_t* const* entries;
        std::size_t count;
    } lists[] = {
        {m_cbDocumentCompression, L"Document Compression", OptionVocabulary::documentCompression,
         OptionVocabulary::documentCompressionCount},
        {m_cbImageCompression, L"Images Compression", OptionVocabulary::imageCompression,
         OptionVocabulary::imageCompressionCount},
        {m_cbJpegQuality, L"JPEG Quality", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount},
        {m_cbPdfVersion, L"PDF Version", OptionVocabulary::pdfVersion, OptionVocabulary::pdfVersionCount},
    };
    for (const auto& list : lists) {
        const std::wstring typed = list.list.GetWindowText();
        const wchar_t* entry = OptionVocabulary::Match(typed, list.entries, list.count);
        if (!entry) {
            refusal = OptionVocabulary::Refusal(typed, list.name, list.entries, list.count);
            return false;
        }
        for (std::size_t i = 0; i < list.count; ++i)
            if (list.entries[i] == entry) list.list.SetCurSel(static_cast<int>(i));
    }
    return true;
}

HBRUSH CAdvancedDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    HBRUSH brush = DefaultCtlColor(dc, control, kind);
    if (kind == WM_CTLCOLORDLG) return m_brushBackground.Get();
    if (control == GetDlgItem(IDC_ALTERNATE_EMF).GetSafeHwnd()) return brush;
    if (kind == WM_CTLCOLORSTATIC && !ControlClass::Contains(control, L"Edit")) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return brush;
}
