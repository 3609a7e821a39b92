#include "TabPages.h"

bool CTabPages::Add(const std::wstring& text, CDialog& page) {
    const int index = static_cast<int>(m_pages.size());
    if (m_tabs.InsertItem(index, text) != index || !page.Create(m_tabs.GetSafeHwnd())) return false;
    m_pages.push_back(&page);
    return true;
}

void CTabPages::Show(int index) const {
    if (index < 0 || index >= static_cast<int>(m_pages.size())) return;
    for (int other = 0; other < static_cast<int>(m_pages.size()); ++other)
        if (other != index) m_pages[other]->ShowWindow(SW_HIDE);
    m_pages[index]->MoveWindow(PageRect(), true);
    m_pages[index]->ShowWindow(SW_SHOW);
}

RECT CTabPages::PageRect() const {
    RECT rect = m_tabs.GetClientRect();
    rect.left += 1;
    rect.top += 25;
    rect.right -= 4;
    rect.bottom -= 4;
    return rect;
}
