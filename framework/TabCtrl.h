#pragma once
// A tab control bound to an existing window.
#include <string>

#include "Wnd.h"

class CTabCtrl : public CWnd {
public:
    // Inserts a text-only tab; returns its index, -1 on failure.
    int InsertItem(int index, const std::wstring& text) const;
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index) const;
};
