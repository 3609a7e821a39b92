#include "ButtonEventSink.h"

#include "OfficeIds.h"

STDMETHODIMP ButtonEventSink::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == OfficeIds::IID_CommandBarButtonEvents) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ButtonEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ButtonEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    // Nothing may escape toward PowerPoint.
    try {
        if (id == 1) m_onClick();
    } catch (...) {
    }
    return S_OK;
}
