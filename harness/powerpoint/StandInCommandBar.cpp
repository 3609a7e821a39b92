#include "StandInCommandBar.h"

#include "OfficeIds.h"
#include "StandInApplication.h"
#include "StandInButton.h"
#include "StandInCommandBarControls.h"

StandInCommandBar::StandInCommandBar(StandInApplication& application, std::wstring name, long position,
                                     bool temporary)
    : AutomationObject({OfficeIds::IID_CommandBar}),
      m_application(application),
      m_name(std::move(name)),
      m_position(position),
      m_temporary(temporary),
      m_controls(ComRef<AutomationObject>::Attach(new StandInCommandBarControls(application, *this))) {
    AddProperty(L"Controls", 1610874886, [this](VARIANT* r) { SetObject(r, m_controls.Get()); });
    AddProperty(L"Name", 1610874889, [this](VARIANT* r) { SetString(r, m_name); });
    AddProperty(
        L"Visible", 1610874904, [this](VARIANT* r) { SetBool(r, m_visible); },
        [this](const AutomationArgs& a) {
            m_visible = a.Int(0) != 0;
            m_application.Changed();
        });
}

StandInCommandBar::~StandInCommandBar() = default;

void StandInCommandBar::AddButton(const ComRef<StandInButton>& button) {
    m_buttons.push_back(button);
    m_application.Changed();
}
