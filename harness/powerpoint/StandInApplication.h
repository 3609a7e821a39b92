#pragma once
// The Application object: the root of the stand-in's automation surface, one
// per process, served to COM clients by StandInClassFactory.
#include <functional>
#include <string>
#include <vector>

#include "AutomationObject.h"
#include "ComRef.h"
#include "StandInOptions.h"

class StandInPresentation;
class StandInPresentations;
class StandInCommandBars;

class StandInApplication : public AutomationObject {
public:
    explicit StandInApplication(StandInOptions options);
    ~StandInApplication() override;

    const StandInOptions& Options() const { return m_options; }
    IDispatch* OpenPresentation(const std::wstring& path, bool untitled);
    void ClosePresentation(StandInPresentation* presentation);
    StandInPresentation* Active() const;
    size_t Count() const { return m_presentations.size(); }
    StandInPresentation* At(size_t index) const { return m_presentations[index].Get(); }
    StandInCommandBars& CommandBars() const { return *m_commandBars.Get(); }
    int NextUntitledNumber() { return ++m_untitled; }
    bool Visible() const { return m_visible; }

    // Called after any change the main window shows.
    void Changed();
    void SetChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    // The file behind a path or the deck's address; throws as Open does for what cannot be opened.
    std::wstring LocalFile(const std::wstring& name) const;
    void Add(const ComRef<StandInPresentation>& presentation, bool untitled);

    StandInOptions m_options;
    std::vector<ComRef<StandInPresentation>> m_presentations;
    ComRef<StandInPresentations> m_presentationsCollection;
    ComRef<StandInCommandBars> m_commandBars;
    std::function<void()> m_listener;
    int m_untitled = 0;
    bool m_visible = false;
};
