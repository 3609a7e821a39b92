#include "TabCtrl.h"

#include <commctrl.h>

int CTabCtrl::InsertItem(int index, const std::wstring& text) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int CTabCtrl::GetItemCount() const {
    return static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
}

int CTabCtrl::GetCurSel() const {
    return static_cast<int>(SendMessage(TCM_GETCURSEL));
}

int CTabCtrl::SetCurSel(int index) const {
    return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index)));
}
