#pragma once
// IDispatch over one dual interface, answered from that interface's type
// information, so that late-bound callers reach its methods. Two such bases in
// one class give each interface its own IDispatch.
#include <oaidl.h>
#include <oleauto.h>

#include "ComRef.h"

template <typename Interface>
class TypedDispatch : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = m_typeInfo ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0 || !m_typeInfo) return DISP_E_BADINDEX;
        *info = m_typeInfo.Get();
        (*info)->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!m_typeInfo) return DISP_E_UNKNOWNNAME;
        return DispGetIDsOfNames(m_typeInfo.Get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        if (!m_typeInfo) return DISP_E_MEMBERNOTFOUND;
        return DispInvoke(static_cast<Interface*>(this), m_typeInfo.Get(), id, flags, params, result, exception,
                          argError);
    }

protected:
    // From a type library of ours or a registered one; without it, late binding finds nothing.
    void LoadTypeInfo(ITypeLib* library) {
        if (library) library->GetTypeInfoOfGuid(__uuidof(Interface), m_typeInfo.Put());
    }

private:
    ComRef<ITypeInfo> m_typeInfo;
};
