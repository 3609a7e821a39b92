#pragma once
// An IDispatch object whose members are declared in a table: name, dispatch
// id and a handler. QueryInterface also answers the dual-interface ids the
// object stands for, with the same IDispatch.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "AutomationValues.h"

// Positional arguments of one call, first argument at index 0.
class AutomationArgs {
public:
    explicit AutomationArgs(DISPPARAMS* params) : m_params(params) {}
    // The value at `index`, by-reference resolved; nullptr when left out.
    const VARIANT* At(size_t index) const;
    std::wstring String(size_t index, const std::wstring& fallback = L"") const;
    long Int(size_t index, long fallback = 0) const;
    IUnknown* Object(size_t index) const;
    // A property put passes its value as the one named argument, DISPID_PROPERTYPUT.
    size_t Count() const { return m_params->cArgs; }

private:
    DISPPARAMS* m_params;
};

// Thrown by a handler: becomes DISP_E_EXCEPTION with this description, as an
// automation server reports a failed call.
struct AutomationError {
    HRESULT code;
    std::wstring description;
};

class AutomationObject : public IDispatch {
public:
    using Getter = std::function<void(VARIANT* result)>;
    using Setter = std::function<void(const AutomationArgs& value)>;
    using Method = std::function<void(const AutomationArgs& args, VARIANT* result)>;

    AutomationObject(std::vector<IID> aliases) : m_aliases(std::move(aliases)) {}
    virtual ~AutomationObject() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    static void SetString(VARIANT* result, const std::wstring& text);
    static void SetInt(VARIANT* result, long value);
    static void SetBool(VARIANT* result, bool value);
    static void SetObject(VARIANT* result, IDispatch* object);

protected:
    void AddProperty(const wchar_t* name, DISPID id, Getter get, Setter set = nullptr);
    void AddMethod(const wchar_t* name, DISPID id, Method method);
    // For interfaces beyond IDispatch (a connection point container, say).
    virtual void* QueryExtra(REFIID) { return nullptr; }

private:
    struct Member {
        std::wstring name;
        DISPID id;
        Getter get;
        Setter set;
        Method method;
    };
    const Member* Find(DISPID id) const;

    std::atomic<ULONG> m_refs{1};
    std::vector<IID> m_aliases;
    std::vector<Member> m_members;
};
