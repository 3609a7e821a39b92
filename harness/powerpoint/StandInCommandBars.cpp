#include "StandInCommandBars.h"

#include "OfficeIds.h"
#include "StandInApplication.h"
#include "StandInCommandBar.h"

StandInCommandBars::StandInCommandBars(StandInApplication& application)
    : AutomationObject({OfficeIds::IID_CommandBars}), m_application(application) {
    // Add(Name, Position, MenuBar, Temporary)
    AddMethod(L"Add", 1610809346, [this](const AutomationArgs& a, VARIANT* result) {
        auto bar = ComRef<StandInCommandBar>::Attach(
            new StandInCommandBar(m_application, a.String(0), a.Int(1, 0), a.Int(3, 0) != 0));
        m_bars.push_back(bar);
        m_application.Changed();
        SetObject(result, bar.Get());
    });
    AddProperty(L"Count", 2, [this](VARIANT* r) { SetInt(r, static_cast<long>(m_bars.size())); });
}

StandInCommandBars::~StandInCommandBars() = default;
