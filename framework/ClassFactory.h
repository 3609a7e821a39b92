#pragma once
// One class factory for every creatable class: a row of the module's class
// table names the class id and the function that creates an instance
// (aggregated when an outer unknown is given).
#include <unknwn.h>

#include <atomic>

using CreateInstanceFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

struct ClassEntry {
    const CLSID* clsid;
    CreateInstanceFn create;
};

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(CreateInstanceFn create) : m_create(create) {}
    virtual ~ClassFactory() = default;

    // The factory of the table row for `clsid`, or CLASS_E_CLASSNOTAVAILABLE.
    static HRESULT GetClassObject(const ClassEntry* table, size_t count, REFCLSID clsid, REFIID iid, void** out);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    std::atomic<ULONG> m_refs{1};
    CreateInstanceFn m_create;
};
