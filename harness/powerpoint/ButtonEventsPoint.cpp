#include "ButtonEventsPoint.h"

#include <olectl.h>

#include "OfficeIds.h"

STDMETHODIMP ButtonEventsPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    return m_owner.QueryInterface(iid, out);
}

STDMETHODIMP ButtonEventsPoint::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != OfficeIds::IID_CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
    *point = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP ButtonEventsPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = OfficeIds::IID_CommandBarButtonEvents;
    return S_OK;
}

STDMETHODIMP ButtonEventsPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = this;
    AddRef();
    return S_OK;
}

STDMETHODIMP ButtonEventsPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    if (m_refuse) return CONNECT_E_ADVISELIMIT;
    // Office asks the sink for the events interface, then IDispatch.
    ComRef<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(OfficeIds::IID_CommandBarButtonEvents, dispatch.PutVoid())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid())))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, dispatch});
    return S_OK;
}

STDMETHODIMP ButtonEventsPoint::Unadvise(DWORD cookie) {
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it)
        if (it->cookie == cookie) {
            m_sinks.erase(it);
            return S_OK;
        }
    return CONNECT_E_NOCONNECTION;
}

void ButtonEventsPoint::FireClick(IDispatch* button) {
    // A sink may unadvise while handling the click: call a copy of the list.
    const std::vector<Sink> sinks = m_sinks;
    for (const Sink& sink : sinks) {
        VARIANT_BOOL cancelDefault = VARIANT_FALSE;
        VARIANT args[2];
        args[0].vt = VT_BYREF | VT_BOOL;  // CancelDefault, the last argument, comes first
        args[0].pboolVal = &cancelDefault;
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = button;
        DISPPARAMS params{args, nullptr, 2, 0};
        VARIANT result;
        VariantInit(&result);
        sink.dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                              nullptr);
        VariantClear(&result);
    }
}
