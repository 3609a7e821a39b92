#pragma once
// Receives the toolbar button's _CommandBarButtonEvents. A COM identity of its
// own that shares its owner's reference count, so that while the button holds
// the sink, the add-in object stays alive.
#include <oaidl.h>

#include <functional>

class ButtonEventSink : public IDispatch {
public:
    ButtonEventSink(IUnknown& owner, std::function<void()> onClick) : m_owner(owner), m_onClick(std::move(onClick)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner.Release(); }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    // Click is DISPID 1; every other event is answered S_OK and ignored.
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    IUnknown& m_owner;
    std::function<void()> m_onClick;
};
