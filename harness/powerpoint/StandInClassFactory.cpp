#include "StandInClassFactory.h"

#include <oaidl.h>

STDMETHODIMP StandInClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StandInClassFactory::Release() {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP StandInClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_application->QueryInterface(iid, out);
}
