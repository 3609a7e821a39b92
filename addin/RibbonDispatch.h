#pragma once
// IDispatch over one interface that also answers the ribbon's callbacks by
// name: PowerPoint calls them on the add-in's IDispatch, and whichever of the
// add-in's interfaces it holds, the names must resolve the same way.
#include "RibbonCallbacks.h"
#include "TypedDispatch.h"

template <typename Interface>
class RibbonDispatch : public TypedDispatch<Interface> {
public:
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        if (SUCCEEDED(RibbonCallbacks::IdsOfNames(names, count, ids))) return S_OK;
        return TypedDispatch<Interface>::GetIDsOfNames(iid, names, count, locale, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        if (RibbonCallbacks::Serves(id)) return Callbacks().Invoke(id, params, result);
        return TypedDispatch<Interface>::Invoke(id, iid, locale, flags, params, result, exception, argError);
    }

protected:
    virtual const RibbonCallbacks& Callbacks() const = 0;
};
