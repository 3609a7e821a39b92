#include "RibbonCallbacks.h"

#include <windows.h>

#include "RibbonXml.h"

namespace {

// Beyond the dispatch ids of _IDTExtensibility2, whose IDispatch also answers these.
enum : DISPID { kLoaded = 0x5100, kClicked, kImage };

const struct {
    const wchar_t* const* name;
    DISPID id;
} kCallbacks[] = {
    {&RibbonXml::kOnLoad, kLoaded},
    {&RibbonXml::kOnAction, kClicked},
    {&RibbonXml::kGetImage, kImage},
};

// The first argument as an object: the ribbon for onLoad, the control otherwise.
IDispatch* FirstObject(const DISPPARAMS* params) {
    if (!params || params->cArgs == 0) return nullptr;
    const VARIANT& last = params->rgvarg[params->cArgs - 1];  // rgvarg holds them in reverse
    const VARIANT& value = last.vt == (VT_BYREF | VT_VARIANT) ? *last.pvarVal : last;
    if (value.vt == VT_DISPATCH) return value.pdispVal;
    if (value.vt == (VT_BYREF | VT_DISPATCH) && value.ppdispVal) return *value.ppdispVal;
    return nullptr;
}

}  // namespace

HRESULT RibbonCallbacks::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    if (!names || !ids || count == 0) return DISP_E_UNKNOWNNAME;
    // Named arguments are not part of any callback's signature.
    if (count > 1) return DISP_E_UNKNOWNNAME;
    for (const auto& callback : kCallbacks)
        if (names[0] && CompareStringOrdinal(names[0], -1, *callback.name, -1, TRUE) == CSTR_EQUAL) {
            ids[0] = callback.id;
            return S_OK;
        }
    return DISP_E_UNKNOWNNAME;
}

bool RibbonCallbacks::Serves(DISPID id) {
    return id == kLoaded || id == kClicked || id == kImage;
}

HRESULT RibbonCallbacks::Invoke(DISPID id, DISPPARAMS* params, VARIANT* result) const noexcept {
    if (result) VariantInit(result);
    try {
        Run(id, params, result);
    } catch (...) {
        if (result) VariantClear(result);
    }
    return S_OK;
}

void RibbonCallbacks::Run(DISPID id, DISPPARAMS* params, VARIANT* result) const {
    switch (id) {
    case kLoaded:
        if (m_handlers.loaded) m_handlers.loaded(FirstObject(params));
        break;
    case kClicked:
        if (m_handlers.clicked) m_handlers.clicked();
        break;
    case kImage: {
        ComRef<IDispatch> picture;
        if (result && m_handlers.image && SUCCEEDED(m_handlers.image(picture)) && picture) {
            result->vt = VT_DISPATCH;
            result->pdispVal = picture.Detach();
        }
        break;
    }
    default:
        break;
    }
}
