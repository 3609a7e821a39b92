#pragma once
// The ribbon as the stand-in draws it, in a child window of its own across the
// top of PowerPoint's window (PowerPoint's is one too): for each add-in group,
// its buttons (a large one is tall, with its image above the label) and the
// group's name under them, on the tab the markup names. Alt pressed and
// released shows the key tips: the tab's letter (H for Home), then a button's
// key tip, uses that button, as PowerPoint does; Escape or any other key ends them.
#include <windows.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "RibbonMarkup.h"

class StandInRibbon;

class StandInRibbonStrip {
public:
    static const wchar_t* const kClassName;
    static const int kHeight = 112;

    StandInRibbonStrip(HWND parent, HFONT font, IDispatch* context);
    ~StandInRibbonStrip();
    StandInRibbonStrip(const StandInRibbonStrip&) = delete;
    StandInRibbonStrip& operator=(const StandInRibbonStrip&) = delete;

    HWND Handle() const { return m_window; }
    void Show(const std::vector<StandInRibbon*>& ribbons);
    bool Empty() const { return m_entries.empty(); }

    // Alt pressed and released.
    void StartKeyTips();
    bool KeyTipsShown() const { return m_keyTips; }
    // One character typed while the key tips show.
    void Type(wchar_t character);
    void EndKeyTips();

private:
    struct Entry {
        StandInRibbon* ribbon;
        const RibbonMarkup::Button* button;
        std::wstring tabKeyTip;
        HWND push;
        HWND tip;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void AddGroup(StandInRibbon& ribbon, const RibbonMarkup::Group& group, int& left);
    HWND AddChild(const wchar_t* type, const std::wstring& text, DWORD style, RECT place, int id = 0);
    void Click(size_t index);
    // A button as the ribbon draws a large one: its image above its label.
    void Draw(const DRAWITEMSTRUCT& item) const;
    void ShowTips(bool tabs);

    HWND m_window = nullptr;
    HFONT m_font;
    ComRef<IDispatch> m_context;
    std::vector<Entry> m_entries;
    std::vector<HWND> m_children;
    std::vector<HWND> m_tabTips;
    bool m_keyTips = false;
    std::wstring m_typed;
};
