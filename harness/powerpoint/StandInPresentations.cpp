#include "StandInPresentations.h"

#include "OfficeIds.h"
#include "StandInApplication.h"

StandInPresentations::StandInPresentations(StandInApplication& application)
    : AutomationObject({OfficeIds::IID_Presentations}), m_application(application) {
    AddMethod(L"Open", OfficeIds::kPresentationsOpen, [this](const AutomationArgs& a, VARIANT* result) {
        CheckOpenArguments(a);
        if (m_application.Options().failOpen)
            throw AutomationError{E_FAIL, L"Presentations.Open : PowerPoint could not open the file."};
        SetObject(result, m_application.OpenPresentation(a.String(0), a.Int(2, 0) != 0));
    });
    AddProperty(L"Count", 11, [this](VARIANT* r) { SetInt(r, static_cast<long>(m_application.Count())); });
}

// Open(FileName As String, [ReadOnly As MsoTriState], [Untitled As MsoTriState],
// [WithWindow As MsoTriState]): refused before anything opens, as PowerPoint does.
void StandInPresentations::CheckOpenArguments(const AutomationArgs& args) {
    args.Expect(4, 1);
    args.String(0);
    args.TriState(1, 0);
    args.TriState(2, 0);
    args.TriState(3, -1);
}
