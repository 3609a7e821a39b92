#pragma once
// The stand-in's main window: the ribbon's add-in groups (when the host has a
// ribbon and an add-in gave some), each visible command bar as a row of push
// buttons (caption, and the face when one was set), then the open presentations.
// A click on a push button fires the command-bar button's Click.
#include <windows.h>

#include <memory>
#include <vector>

#include "StandInRibbonStrip.h"

class StandInApplication;
class StandInButton;
class StandInRibbon;

class StandInWindow {
public:
    static const wchar_t* const kClassName;

    explicit StandInWindow(StandInApplication& application);
    ~StandInWindow();
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;

    HWND Handle() const { return m_window; }
    // The add-ins' ribbon groups, drawn above the command bars.
    void ShowRibbon(const std::vector<StandInRibbon*>& ribbons);
    StandInRibbonStrip* Ribbon() const { return m_ribbon.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Rebuild();
    int AddBarRow(size_t barIndex, int top);
    void OnCommand(int id);
    bool OnKeyTip(UINT message, WPARAM wParam, LPARAM lParam);

    StandInApplication& m_application;
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    std::vector<HWND> m_children;
    std::vector<StandInButton*> m_buttons;  // by control id - kFirstButtonId
    bool m_rebuildPosted = false;
    std::unique_ptr<StandInRibbonStrip> m_ribbon;
};
