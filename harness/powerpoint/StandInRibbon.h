#pragma once
// One add-in's part of the ribbon, as PowerPoint builds it once the add-in is
// connected: the add-in is asked for IRibbonExtensibility, its markup for a
// presentation's window (Microsoft.PowerPoint.Presentation) is read, onLoad is
// called with the ribbon, each button's image is fetched through its getImage,
// and a button's onAction is called when it is used. Every callback is called
// late-bound on the add-in's IDispatch: GetIDsOfNames, then Invoke, with an
// IRibbonControl for the control. A refused markup, or a callback that fails,
// is what PowerPoint reports when "Show add-in user interface errors" is on.
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <string>

#include "ComRef.h"
#include "RibbonMarkup.h"
#include "StandInRibbonUI.h"

class StandInRibbon {
public:
    static const wchar_t* const kPresentationRibbon;

    StandInRibbon();

    // True when the add-in's markup for a presentation's window was taken:
    // its groups show. False when it offers none, or its markup is refused
    // (Error() says why). A failing callback is added to Error() either way.
    bool Load(IUnknown* addin, IDispatch* context);
    const RibbonMarkup& Markup() const { return m_markup; }
    const std::wstring& Error() const { return m_error; }
    // The image getImage gave the button, or null; owned by this object.
    HBITMAP Image(const std::wstring& buttonId) const;
    // Calls the button's onAction; Invoke's result.
    HRESULT Click(const RibbonMarkup::Button& button, IDispatch* context);
    const StandInRibbonUI& Ui() const { return *m_ui.Get(); }

private:
    HRESULT Call(const std::wstring& name, IDispatch* argument, VARIANT* result);
    HRESULT CallWithControl(const std::wstring& name, const RibbonMarkup::Button& button, IDispatch* context,
                            VARIANT* result);
    void FetchImage(const RibbonMarkup::Button& button, IDispatch* context);
    bool Fail(const std::wstring& what, HRESULT hr);

    ComRef<IDispatch> m_callbacks;
    ComRef<StandInRibbonUI> m_ui;
    RibbonMarkup m_markup;
    std::map<std::wstring, ComRef<IPicture>> m_images;
    std::wstring m_error;
};
