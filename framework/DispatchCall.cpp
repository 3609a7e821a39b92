#include "DispatchCall.h"

#include <vector>

#include "RejectedCallFilter.h"

HRESULT DispatchCall::Invoke(DISPID id, WORD flags, std::initializer_list<VARIANT*> args, VARIANT* result) const {
    if (!m_target) return E_POINTER;
    // DISPPARAMS wants the arguments last to first.
    std::vector<VARIANT> reversed;
    for (auto it = args.end(); it != args.begin();) reversed.push_back(**--it);
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedPut;
        params.cNamedArgs = 1;
    }
    UniqueVariant ignored;
    return RejectedCallFilter::Retry([&] {
        return m_target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result : ignored.Get(),
                                nullptr, nullptr);
    });
}

HRESULT DispatchCall::Method(DISPID id, std::initializer_list<VARIANT*> args, VARIANT* result) const {
    return Invoke(id, DISPATCH_METHOD, args, result);
}

HRESULT DispatchCall::Get(DISPID id, VARIANT* result) const {
    return Invoke(id, DISPATCH_PROPERTYGET, {}, result);
}

HRESULT DispatchCall::Put(DISPID id, VARIANT* value) const {
    return Invoke(id, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

HRESULT DispatchCall::GetDispatch(DISPID id, ComRef<IDispatch>& object) const {
    UniqueVariant value;
    HRESULT hr = Get(id, value.Put());
    if (FAILED(hr)) return hr;
    if (value.Value().vt != VT_DISPATCH || !value.Value().pdispVal) return E_NOINTERFACE;
    object = ComRef<IDispatch>(value.Value().pdispVal);
    return S_OK;
}

HRESULT DispatchCall::IdOf(const wchar_t* name, DISPID& id) const {
    if (!m_target) return E_POINTER;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return RejectedCallFilter::Retry(
        [&] { return m_target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
}

HRESULT DispatchCall::Method(const wchar_t* name, std::initializer_list<VARIANT*> args, VARIANT* result) const {
    DISPID id;
    HRESULT hr = IdOf(name, id);
    return FAILED(hr) ? hr : Method(id, args, result);
}

HRESULT DispatchCall::Get(const wchar_t* name, VARIANT* result) const {
    DISPID id;
    HRESULT hr = IdOf(name, id);
    return FAILED(hr) ? hr : Get(id, result);
}

HRESULT DispatchCall::Put(const wchar_t* name, VARIANT* value) const {
    DISPID id;
    HRESULT hr = IdOf(name, id);
    return FAILED(hr) ? hr : Put(id, value);
}

HRESULT DispatchCall::GetDispatch(const wchar_t* name, ComRef<IDispatch>& object) const {
    DISPID id;
    HRESULT hr = IdOf(name, id);
    return FAILED(hr) ? hr : GetDispatch(id, object);
}
