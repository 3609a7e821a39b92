#pragma once
// Serves the one Application object to COM clients ("PowerPoint.Application").
#include <unknwn.h>

#include <atomic>

class StandInClassFactory : public IClassFactory {
public:
    explicit StandInClassFactory(IDispatch* application) : m_application(application) {}
    virtual ~StandInClassFactory() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    std::atomic<ULONG> m_refs{1};
    IDispatch* m_application;
};
