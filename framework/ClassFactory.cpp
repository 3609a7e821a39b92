#include "ClassFactory.h"

#include <new>

#include "ModuleLock.h"

HRESULT ClassFactory::GetClassObject(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid,
                                     void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (*table[i].clsid != clsid) continue;
        auto* factory = new (std::nothrow) ClassFactory(table[i].create);
        if (!factory) return E_OUTOFMEMORY;
        HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    // An aggregating caller must ask for the inner object's own IUnknown.
    if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return m_create(outer, iid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock) ModuleLock::Add();
    else ModuleLock::Release();
    return S_OK;
}
