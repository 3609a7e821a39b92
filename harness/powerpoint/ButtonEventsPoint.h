#pragma once
// The button's connection point container with its one connection point, for
// _CommandBarButtonEvents. It lives inside the button and shares its count.
#include <ocidl.h>

#include <vector>

#include "ComRef.h"

class ButtonEventsPoint : public IConnectionPointContainer, public IConnectionPoint {
public:
    explicit ButtonEventsPoint(IUnknown& owner) : m_owner(owner) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner.Release(); }

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    size_t SinkCount() const { return m_sinks.size(); }
    // Advise then fails with CONNECT_E_ADVISELIMIT.
    void RefuseSinks(bool refuse) { m_refuse = refuse; }
    // Calls DISPID 1 on every sink with (button, &cancelDefault).
    void FireClick(IDispatch* button);

private:
    struct Sink {
        DWORD cookie;
        ComRef<IDispatch> dispatch;
    };
    IUnknown& m_owner;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
    bool m_refuse = false;
};
