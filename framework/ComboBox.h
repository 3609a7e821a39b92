#pragma once
// A combo box control bound to an existing window.
#include <string>

#include "Wnd.h"

class CComboBox : public CWnd {
public:
    int AddString(const std::wstring& text) const;
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
    std::wstring GetLBText(int index) const;
};
