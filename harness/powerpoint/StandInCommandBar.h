#pragma once
// One toolbar with its Controls collection.
#include <string>
#include <vector>

#include "AutomationObject.h"
#include "ComRef.h"

class StandInApplication;
class StandInButton;

class StandInCommandBar : public AutomationObject {
public:
    StandInCommandBar(StandInApplication& application, std::wstring name, long position, bool temporary);
    ~StandInCommandBar() override;

    const std::wstring& Name() const { return m_name; }
    long Position() const { return m_position; }
    bool Temporary() const { return m_temporary; }
    bool Visible() const { return m_visible; }
    size_t Count() const { return m_buttons.size(); }
    StandInButton& At(size_t index) const { return *m_buttons[index].Get(); }
    void AddButton(const ComRef<StandInButton>& button);

private:
    StandInApplication& m_application;
    std::wstring m_name;
    long m_position;
    bool m_temporary;
    bool m_visible = false;
    std::vector<ComRef<StandInButton>> m_buttons;
    ComRef<AutomationObject> m_controls;
};
