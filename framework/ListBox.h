#pragma once
// A list box control bound to an existing window.
#include <string>

#include "Wnd.h"

class CListBox : public CWnd {
public:
    int AddString(const std::wstring& text) const;
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
    std::wstring GetText(int index) const;
};
