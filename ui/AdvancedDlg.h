#pragma once
// The "Advanced" page: six editable drop-down lists and one check box. The
// conversion takes the entry each list shows; a typed text must spell one.
#include <string>

#include "ComboBox.h"
#include "Dialog.h"
#include "UniqueHandle.h"
#include "resource.h"

class CAdvancedDlg : public CDialog {
public:
    enum { IDD = IDD_ADVANCED };

    explicit CAdvancedDlg(CWnd* pParent = nullptr);

    std::wstring DocumentCompressionText() const { return m_cbDocumentCompression.GetWindowText(); }
    std::wstring ImageCompressionText() const { return m_cbImageCompression.GetWindowText(); }
    std::wstring JpegQualityText() const { return m_cbJpegQuality.GetWindowText(); }
    std::wstring PdfVersionText() const { return m_cbPdfVersion.GetWindowText(); }
    // Makes each typed text that spells an entry (case and surrounding blanks
    // aside) that entry; false, with what to tell the user, at the first that
    // spells none.
    bool TakeTypedTexts(std::wstring& refusal) const;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

private:
    UniqueBrush m_brushBackground;
    CComboBox m_cbPageLayout;
    CComboBox m_cbPageMode;
    CComboBox m_cbDocumentCompression;
    CComboBox m_cbImageCompression;
    CComboBox m_cbJpegQuality;
    CComboBox m_cbPdfVersion;
};
