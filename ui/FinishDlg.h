#pragma once
// The result dialog: lists the PDF files produced and opens the selected one,
// or its folder with the file selected. Closing it in any way empties the list.
#include <list>
#include <string>

#include "Dialog.h"
#include "ListBox.h"
#include "resource.h"

class CFinishDlg : public CDialog {
public:
    enum { IDD = IDD_FINISH };

    explicit CFinishDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

    std::wstring m_strFolder;             // the output folder, ending with a backslash
    std::list<std::wstring> m_lstFiles;  // names of the files produced, in the order produced

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code) override;

    void OnBnClickedOpenFolder();
    void OnBnClickedClose();
    void OnBnClickedOpenFile();

private:
    CListBox m_listBox;
};
