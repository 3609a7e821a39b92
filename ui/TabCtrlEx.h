#pragma once
// The Convert dialog's tab control: the system's tab control that never erases
// its own background, so its display area shows only the page placed there.
#include "TabCtrl.h"
#include "WindowSubclass.h"

class CTabCtrlEx : public CTabCtrl {
public:
    // Binding subclasses the control.
    void Bind(HWND hWnd) override;

private:
    bool OnMessage(UINT message, LRESULT& result);
    static LRESULT OnEraseBkgnd() { return TRUE; }

    WindowSubclass m_subclass;
};
