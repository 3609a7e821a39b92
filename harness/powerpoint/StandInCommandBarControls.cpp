#include "StandInCommandBarControls.h"

#include "OfficeIds.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"

namespace {
const long kControlButton = 1;  // msoControlButton
}

StandInCommandBarControls::StandInCommandBarControls(StandInApplication& application, StandInCommandBar& bar)
    : AutomationObject({OfficeIds::IID_CommandBarControls}), m_application(application), m_bar(bar) {
    // Add(Type, Id, Parameter, Before, Temporary)
    AddMethod(L"Add", 1610809344, [this](const AutomationArgs& a, VARIANT* result) {
        if (a.Int(0, kControlButton) != kControlButton)
            throw AutomationError{E_INVALIDARG, L"CommandBarControls.Add : only buttons are supported."};
        auto button = ComRef<StandInButton>::Attach(new StandInButton(m_application, a.Int(4, 0) != 0));
        m_bar.AddButton(button);
        SetObject(result, button.Get());
    });
    AddProperty(L"Count", 2, [this](VARIANT* r) { SetInt(r, static_cast<long>(m_bar.Count())); });
}
