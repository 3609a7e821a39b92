#include "StandInApplication.h"

#include <windows.h>

#include <algorithm>

#include "DefaultPrinter.h"
#include "OfficeIds.h"
#include "StandInCommandBars.h"
#include "StandInPresentation.h"
#include "StandInPresentations.h"

StandInApplication::StandInApplication(StandInOptions options)
    : AutomationObject({OfficeIds::IID_Application}),
      m_options(std::move(options)),
      m_presentationsCollection(ComRef<StandInPresentations>::Attach(new StandInPresentations(*this))),
      m_commandBars(ComRef<StandInCommandBars>::Attach(new StandInCommandBars(*this))) {
    AddProperty(
        L"Visible", OfficeIds::kApplicationVisible, [this](VARIANT* r) { SetInt(r, m_visible ? -1 : 0); },
        [this](const AutomationArgs& a) {
            m_visible = a.Int(0) != 0;
            Changed();
        });
    AddProperty(L"Presentations", OfficeIds::kApplicationPresentations,
                [this](VARIANT* r) { SetObject(r, m_presentationsCollection.Get()); });
    AddProperty(L"ActivePresentation", OfficeIds::kApplicationActivePresentation, [this](VARIANT* r) {
        if (!Active())
            throw AutomationError{E_FAIL, L"Application.ActivePresentation : Invalid request.  There is no "
                                          L"active presentation."};
        SetObject(r, Active());
    });
    AddProperty(L"CommandBars", OfficeIds::kApplicationCommandBars, [this](VARIANT* r) {
        if (m_options.failCommandBars)
            throw AutomationError{E_ACCESSDENIED, L"Application.CommandBars : Access denied."};
        SetObject(r, m_commandBars.Get());
    });
    AddProperty(L"Name", 2000, [](VARIANT* r) { SetString(r, L"Microsoft PowerPoint"); });
}

StandInApplication::~StandInApplication() = default;

IDispatch* StandInApplication::OpenPresentation(const std::wstring& path, bool untitled) {
    auto presentation = ComRef<StandInPresentation>::Attach(
        new StandInPresentation(*this, path, LocalFile(path), untitled, DefaultPrinter::Get()));
    Add(presentation, untitled);
    Changed();
    return presentation.Get();
}

std::wstring StandInApplication::LocalFile(const std::wstring& name) const {
    const std::wstring file = !m_options.address.empty() && name == m_options.address ? m_options.deck : name;
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw AutomationError{E_FAIL, L"Presentations.Open : PowerPoint could not open " + name + L"."};
    return file;
}

// The last one is the active presentation.
void StandInApplication::Add(const ComRef<StandInPresentation>& presentation, bool untitled) {
    if (m_options.openBehind && untitled && !m_presentations.empty())
        m_presentations.insert(m_presentations.end() - 1, presentation);
    else
        m_presentations.push_back(presentation);
}

void StandInApplication::ClosePresentation(StandInPresentation* presentation) {
    auto found = std::find_if(m_presentations.begin(), m_presentations.end(),
                              [presentation](const auto& p) { return p.Get() == presentation; });
    if (found == m_presentations.end()) throw AutomationError{E_FAIL, L"Presentation.Close : Object does not exist."};
    m_presentations.erase(found);
    Changed();
}

StandInPresentation* StandInApplication::Active() const {
    return m_presentations.empty() ? nullptr : m_presentations.back().Get();
}

void StandInApplication::Changed() {
    if (m_listener) m_listener();
}
