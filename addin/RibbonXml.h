#pragma once
// The add-in's ribbon markup: one group, "Vellumark", at the end of the Home tab,
// with one large button that does what the toolbar button does. Written in the
// customUI namespace of 2006, which PowerPoint 2007 reads and every later one
// still does; nothing here needs the 2009 one (Backstage, context menus).
#include <string>

class RibbonXml {
public:
    static const wchar_t* const kNamespace;
    // The ribbon of a presentation's window; others (a mail item's in Outlook,
    // say) get no markup from us.
    static const wchar_t* const kPresentationRibbon;
    // Callback names, answered by name through the add-in's IDispatch.
    static const wchar_t* const kOnLoad;
    static const wchar_t* const kOnAction;
    static const wchar_t* const kGetImage;
    // Ids and texts of the button.
    static const wchar_t* const kButtonId;
    static const wchar_t* const kButtonLabel;
    static const wchar_t* const kKeyTip;

    // The markup for `ribbonId`, or an empty text.
    static std::wstring For(const std::wstring& ribbonId);
};
