#include "StandInRibbon.h"

#include <cstdio>

#include "AutomationValues.h"
#include "OfficeIds.h"
#include "RibbonExtensibility.h"
#include "StandInRibbonControl.h"

const wchar_t* const StandInRibbon::kPresentationRibbon = L"Microsoft.PowerPoint.Presentation";

StandInRibbon::StandInRibbon() : m_ui(ComRef<StandInRibbonUI>::Attach(new StandInRibbonUI())) {}

bool StandInRibbon::Load(IUnknown* addin, IDispatch* context) {
    ComRef<IRibbonExtensibility> extensibility;
    if (!addin || FAILED(addin->QueryInterface(OfficeIds::IID_RibbonExtensibility, extensibility.PutVoid())))
        return false;  // an add-in of before the ribbon: nothing to report
    UniqueBstr id(kPresentationRibbon), xml;
    HRESULT hr = extensibility->GetCustomUI(id.Get(), xml.Put());
    if (FAILED(hr)) return Fail(L"GetCustomUI failed", hr);
    if (xml.Text().empty()) return false;
    if (!m_markup.Parse(xml.Text(), m_error)) return false;
    // Callbacks go to the add-in's IDispatch, whichever interface offered the markup.
    if (FAILED(hr = addin->QueryInterface(IID_IDispatch, m_callbacks.PutVoid())))
        return Fail(L"no IDispatch for the callbacks", hr);
    // A failing callback is reported; the group shows all the same.
    if (!m_markup.OnLoad().empty() && FAILED(hr = Call(m_markup.OnLoad(), m_ui.Get(), nullptr)))
        Fail(L"onLoad " + m_markup.OnLoad() + L" failed", hr);
    for (const auto& group : m_markup.Groups())
        for (const auto& button : group.buttons) FetchImage(button, context);
    return true;
}

void StandInRibbon::FetchImage(const RibbonMarkup::Button& button, IDispatch* context) {
    if (button.getImage.empty()) return;
    UniqueVariant picture;
    HRESULT hr = CallWithControl(button.getImage, button, context, picture.Put());
    ComRef<IPicture> image;
    if (SUCCEEDED(hr) && picture.Value().vt == VT_DISPATCH && picture.Value().pdispVal)
        hr = picture.Value().pdispVal->QueryInterface(IID_IPicture, image.PutVoid());
    if (SUCCEEDED(hr) && image)
        m_images[button.id] = image;
    else if (FAILED(hr))
        Fail(L"getImage " + button.getImage + L" failed", hr);
}

HBITMAP StandInRibbon::Image(const std::wstring& buttonId) const {
    const auto found = m_images.find(buttonId);
    OLE_HANDLE handle = 0;
    if (found == m_images.end() || FAILED(found->second->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

HRESULT StandInRibbon::Click(const RibbonMarkup::Button& button, IDispatch* context) {
    const HRESULT hr = CallWithControl(button.onAction, button, context, nullptr);
    if (FAILED(hr)) Fail(L"onAction " + button.onAction + L" failed", hr);
    return hr;
}

HRESULT StandInRibbon::CallWithControl(const std::wstring& name, const RibbonMarkup::Button& button,
                                       IDispatch* context, VARIANT* result) {
    ComRef<StandInRibbonControl> control =
        ComRef<StandInRibbonControl>::Attach(new StandInRibbonControl(button.id, button.tag, context));
    return Call(name, control.Get(), result);
}

HRESULT StandInRibbon::Call(const std::wstring& name, IDispatch* argument, VARIANT* result) {
    if (!m_callbacks) return E_POINTER;
    std::wstring buffer = name;
    LPOLESTR names[] = {buffer.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = m_callbacks->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_DISPATCH;
    arg.pdispVal = argument;  // borrowed for the call
    DISPPARAMS params{&arg, nullptr, 1, 0};
    EXCEPINFO exception{};
    UINT argError = 0;
    hr = m_callbacks->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | (result ? DISPATCH_PROPERTYGET : 0),
                             &params, result, &exception, &argError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

bool StandInRibbon::Fail(const std::wstring& what, HRESULT hr) {
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    if (!m_error.empty()) m_error += L"\n";
    m_error += what + L" (" + code + L")";
    return false;
}
