#pragma once
// The option pages of a tab control: each page is a child window of the
// control, and one at a time is shown in the control's display area.
#include <string>
#include <vector>

#include "Dialog.h"
#include "TabCtrl.h"

class CTabPages {
public:
    explicit CTabPages(CTabCtrl& tabs) : m_tabs(tabs) {}

    // Appends a text-only tab and creates `page` (hidden) as a child of the tab control.
    bool Add(const std::wstring& text, CDialog& page);
    // Shows the page of tab `index` in the display area and hides the others;
    // an index without a page changes nothing.
    void Show(int index) const;
    // The tab control's client area less 1 pixel left, 25 top, 4 right and 4 bottom.
    RECT PageRect() const;

private:
    CTabCtrl& m_tabs;
    std::vector<CDialog*> m_pages;
};
