#include "StandInRibbonControl.h"

#include "OfficeIds.h"

StandInRibbonControl::StandInRibbonControl(std::wstring id, std::wstring tag, IDispatch* context)
    : AutomationObject({OfficeIds::IID_RibbonControl}), m_id(std::move(id)), m_tag(std::move(tag)),
      m_context(context) {
    AddProperty(L"Id", OfficeIds::kRibbonControlId, [this](VARIANT* result) { SetString(result, m_id); });
    AddProperty(L"Context", OfficeIds::kRibbonControlContext,
                [this](VARIANT* result) { SetObject(result, m_context.Get()); });
    AddProperty(L"Tag", OfficeIds::kRibbonControlTag, [this](VARIANT* result) { SetString(result, m_tag); });
}
