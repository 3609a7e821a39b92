#include "AutomationObject.h"

#include <oleauto.h>

UINT AutomationArgs::Position(size_t index) const {
    const UINT positional = m_params->cArgs - m_params->cNamedArgs;
    // DISPPARAMS holds the named arguments first, then the positional ones last to first.
    if (index < positional) return m_params->cArgs - 1 - static_cast<UINT>(index);
    for (UINT i = 0; i < m_params->cNamedArgs; ++i) {
        const DISPID name = m_params->rgdispidNamedArgs[i];
        // A property put passes its value as the one named argument.
        if (name == static_cast<DISPID>(index) || (name == DISPID_PROPERTYPUT && index == 0)) return i;
    }
    return m_params->cArgs;
}

const VARIANT* AutomationArgs::At(size_t index) const {
    const UINT position = Position(index);
    if (position >= m_params->cArgs) return nullptr;
    const VARIANT* value = &m_params->rgvarg[position];
    while (value->vt & VT_BYREF) {
        if (value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
        else break;
    }
    if (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND) return nullptr;
    return value;
}

std::wstring AutomationArgs::String(size_t index, const std::wstring& fallback) const {
    const VARIANT* value = At(index);
    if (!value) return fallback;
    UniqueVariant text;
    if (FAILED(VariantChangeType(text.Get(), const_cast<VARIANT*>(value), 0, VT_BSTR)))
        throw ArgumentError{DISP_E_TYPEMISMATCH, Position(index)};
    return std::wstring(text.Value().bstrVal, SysStringLen(text.Value().bstrVal));
}

long AutomationArgs::Int(size_t index, long fallback) const {
    const VARIANT* value = At(index);
    if (!value) return fallback;
    UniqueVariant number;
    if (FAILED(VariantChangeType(number.Get(), const_cast<VARIANT*>(value), 0, VT_I4)))
        throw ArgumentError{DISP_E_TYPEMISMATCH, Position(index)};
    return number.Value().lVal;
}

long AutomationArgs::TriState(size_t index, long fallback) const {
    const long value = Int(index, fallback);
    if (value != -1 && value != 0 && value != 1) Refuse(index);
    return value;
}

void AutomationArgs::Refuse(size_t index) const {
    throw ArgumentError{E_INVALIDARG, Position(index)};
}

void AutomationArgs::Expect(size_t declared, size_t required) const {
    if (m_params->cArgs - m_params->cNamedArgs > declared) throw ArgumentError{DISP_E_BADPARAMCOUNT, 0};
    for (UINT i = 0; i < m_params->cNamedArgs; ++i) {
        const DISPID name = m_params->rgdispidNamedArgs[i];
        if (name < 0 || static_cast<size_t>(name) >= declared) throw ArgumentError{DISP_E_PARAMNOTFOUND, i};
    }
    for (size_t index = 0; index < required; ++index)
        if (!At(index)) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, 0};
}

IUnknown* AutomationArgs::Object(size_t index) const {
    const VARIANT* value = At(index);
    if (!value) return nullptr;
    if (value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN) return value->punkVal;
    if (value->vt == (VT_BYREF | VT_DISPATCH) || value->vt == (VT_BYREF | VT_UNKNOWN)) return *value->ppunkVal;
    throw ArgumentError{DISP_E_TYPEMISMATCH, Position(index)};
}

STDMETHODIMP AutomationObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
    } else {
        for (const IID& alias : m_aliases)
            if (iid == alias) *out = static_cast<IDispatch*>(this);
        if (!*out) *out = QueryExtra(iid);
    }
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) AutomationObject::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP AutomationObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP AutomationObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const Member& member : m_members)
            if (i == 0 && _wcsicmp(member.name.c_str(), names[i]) == 0) ids[i] = member.id;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

const AutomationObject::Member* AutomationObject::Find(DISPID id) const {
    for (const Member& member : m_members)
        if (member.id == id) return &member;
    return nullptr;
}

STDMETHODIMP AutomationObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO* exception, UINT* argError) {
    if (argError) *argError = 0;
    const Member* member = Find(id);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    AutomationArgs args(params ? params : &none);
    UniqueVariant ignored;
    VARIANT* out = result ? result : ignored.Get();
    try {
        if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && member->set) {
            member->set(args);
        } else if ((flags & DISPATCH_METHOD) && member->method) {
            member->method(args, out);
        } else if ((flags & DISPATCH_PROPERTYGET) && member->get) {
            member->get(out);
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
    } catch (const ArgumentError& error) {
        if (argError) *argError = error.position;
        return error.code;
    } catch (const AutomationError& error) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"Microsoft PowerPoint");
            exception->bstrDescription = SysAllocString(error.description.c_str());
            exception->scode = error.code;
        }
        return DISP_E_EXCEPTION;
    } catch (...) {
        return E_UNEXPECTED;
    }
    return S_OK;
}

void AutomationObject::AddProperty(const wchar_t* name, DISPID id, Getter get, Setter set) {
    m_members.push_back({name, id, std::move(get), std::move(set), nullptr});
}

void AutomationObject::AddMethod(const wchar_t* name, DISPID id, Method method) {
    m_members.push_back({name, id, nullptr, nullptr, std::move(method)});
}

void AutomationObject::SetString(VARIANT* result, const std::wstring& text) {
    VariantClear(result);
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void AutomationObject::SetInt(VARIANT* result, long value) {
    VariantClear(result);
    result->vt = VT_I4;
    result->lVal = value;
}

void AutomationObject::SetBool(VARIANT* result, bool value) {
    VariantClear(result);
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void AutomationObject::SetObject(VARIANT* result, IDispatch* object) {
    VariantClear(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    if (object) object->AddRef();
}
