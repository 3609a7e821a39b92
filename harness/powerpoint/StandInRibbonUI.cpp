#include "StandInRibbonUI.h"

#include "OfficeIds.h"

StandInRibbonUI::StandInRibbonUI() : AutomationObject({OfficeIds::IID_RibbonUI}) {
    AddMethod(L"Invalidate", OfficeIds::kRibbonUIInvalidate, [this](const AutomationArgs& args, VARIANT*) {
        args.Expect(0);
        ++m_invalidations;
    });
    AddMethod(L"InvalidateControl", OfficeIds::kRibbonUIInvalidateControl,
              [this](const AutomationArgs& args, VARIANT*) {
                  args.Expect(1, 1);
                  args.String(0);
                  ++m_invalidations;
              });
}
