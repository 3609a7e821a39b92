#pragma once
// The IRibbonControl PowerPoint hands to a control's callbacks: its id and tag
// from the markup, and the window it was used in (the presentation's window).
#include <string>

#include "AutomationObject.h"
#include "ComRef.h"

class StandInRibbonControl : public AutomationObject {
public:
    StandInRibbonControl(std::wstring id, std::wstring tag, IDispatch* context);

private:
    std::wstring m_id;
    std::wstring m_tag;
    ComRef<IDispatch> m_context;
};
