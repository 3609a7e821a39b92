#include "TabCtrlEx.h"

void CTabCtrlEx::Bind(HWND hWnd) {
    CTabCtrl::Bind(hWnd);
    m_subclass.Install(hWnd, [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
        return OnMessage(message, result);
    });
}

bool CTabCtrlEx::OnMessage(UINT message, LRESULT& result) {
    if (message != WM_ERASEBKGND) return false;
    result = OnEraseBkgnd();
    return true;
}
