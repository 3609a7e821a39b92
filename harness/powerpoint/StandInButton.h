#pragma once
// A command-bar button. Its Click event goes, through the connection point for
// _CommandBarButtonEvents, to every subscribed sink.
#include <ocidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "AutomationObject.h"
#include "ButtonEventsPoint.h"
#include "UniqueHandle.h"

class StandInApplication;

class StandInButton : public AutomationObject {
public:
    StandInButton(StandInApplication& application, bool temporary);

    const std::wstring& Caption() const { return m_caption; }
    const std::wstring& TooltipText() const { return m_tooltip; }
    const std::wstring& Tag() const { return m_tag; }
    long Style() const { return m_style; }
    bool Visible() const { return m_visible; }
    bool Enabled() const { return m_enabled; }
    bool Temporary() const { return m_temporary; }
    HBITMAP Face() const { return m_face.Get(); }
    size_t SinkCount() const { return m_events.SinkCount(); }

    // Fires Click (DISPID 1) with the button and a CancelDefault flag.
    void Click();
    // Clicks whose handlers have returned; read from any thread.
    int ClicksReturned() const { return m_clicksReturned; }

protected:
    void* QueryExtra(REFIID iid) override;

private:
    void PasteFace();
    void SetPicture(const AutomationArgs& args);
    void AddTextProperty(const wchar_t* name, DISPID id, std::wstring& field);
    void AddFlagProperty(const wchar_t* name, DISPID id, bool& field);

    StandInApplication& m_application;
    bool m_temporary;
    std::wstring m_caption;
    std::wstring m_tooltip;
    std::wstring m_tag;
    long m_style = 0;
    bool m_visible = true;
    bool m_enabled = true;
    UniqueBitmap m_face;
    ButtonEventsPoint m_events;
    std::atomic<int> m_clicksReturned{0};
};
