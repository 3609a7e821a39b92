#pragma once
// The object PowerPoint connects to: on connection it puts the toolbar "MyAddin"
// with the button "Vellumark 5.0" into PowerPoint and listens to the button; a
// click offers to save a modified presentation and opens the Convert dialog.
// A PowerPoint with the ribbon (2007 and later) also gets a group with one
// large button on the Home tab, which does exactly what the toolbar button does.
// No C++ exception and no raised COM error leaves it toward PowerPoint.
#include <windows.h>

#include <string>

#include "ButtonEventSink.h"
#include "ComRef.h"
#include "Extensibility.h"
#include "Quillset.h"
#include "RibbonCallbacks.h"
#include "RibbonDispatch.h"
#include "RibbonExtensibility.h"
#include "TypedDispatch.h"

class CPowerPointAddin : public TypedDispatch<IPowerPointAddin>,
                         public RibbonDispatch<_IDTExtensibility2>,
                         public ISupportErrorInfo,
                         public RibbonDispatch<IRibbonExtensibility> {
public:
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown of every interface: the outer object's when aggregated.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return m_outer->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer->Release(); }

    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    STDMETHODIMP OnConnection(IDispatch* application, int connectMode, IDispatch* addInInst,
                              SAFEARRAY** custom) override;
    STDMETHODIMP OnDisconnection(int removeMode, SAFEARRAY** custom) override;
    STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override { return E_NOTIMPL; }
    STDMETHODIMP OnStartupComplete(SAFEARRAY**) override { return E_NOTIMPL; }
    STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override { return E_NOTIMPL; }

    STDMETHODIMP GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) override;

    static const DWORD kNoSubscription = 0xFEFEFEFE;

private:
    // The object's own IUnknown, which aggregation hands to the outer object.
    class Inner : public IUnknown {
    public:
        explicit Inner(CPowerPointAddin& self) : m_self(self) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return m_self.InnerQueryInterface(iid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return ++m_self.m_refs; }
        STDMETHODIMP_(ULONG) Release() override;

    private:
        CPowerPointAddin& m_self;
    };

    explicit CPowerPointAddin(IUnknown* outer);
    virtual ~CPowerPointAddin();
    HRESULT InnerQueryInterface(REFIID iid, void** out);
    const RibbonCallbacks& Callbacks() const override { return m_ribbonCallbacks; }

    HRESULT Connect(IDispatch* application);
    HRESULT BuildToolbar(ComRef<IDispatch>& button);
    HRESULT Subscribe(IDispatch* button);
    void OnClick();
    void OnRibbonClick();
    void Convert();
    bool SaveIfWanted(IDispatch* presentation);
    std::wstring PresentationPath(IDispatch* presentation);

    ULONG m_refs = 1;
    Inner m_inner{*this};
    IUnknown* m_outer;
    ComRef<IDispatch> m_application;
    ComRef<IDispatch> m_button;
    DWORD m_cookie = kNoSubscription;
    ButtonEventSink m_sink;
    bool m_connected = false;
    ComRef<IDispatch> m_ribbon;  // the host's IRibbonUI, from onLoad
    RibbonCallbacks m_ribbonCallbacks;
};
