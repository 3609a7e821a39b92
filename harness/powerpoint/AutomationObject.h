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

// Arguments of one call by their place in the declaration, first at index 0,
// whether passed positionally or named by that place.
class AutomationArgs {
public:
    explicit AutomationArgs(DISPPARAMS* params) : m_params(params) {}
    // The value at `index`, by-reference resolved; nullptr when left out.
    const VARIANT* At(size_t index) const;
    // Coerced as a type library's dispatch coerces (VariantChangeType); an
    // argument that does not coerce fails the call with DISP_E_TYPEMISMATCH.
    std::wstring String(size_t index, const std::wstring& fallback = L"") const;
    long Int(size_t index, long fallback = 0) const;
    // An MsoTriState: msoTrue (-1), msoFalse (0) or msoCTrue (1); others are E_INVALIDARG.
    long TriState(size_t index, long fallback) const;
    IUnknown* Object(size_t index) const;
    // A member declared with `declared` parameters, the first `required` of them
    // not optional: more arguments fail with DISP_E_BADPARAMCOUNT, a name beyond
    // them with DISP_E_PARAMNOTFOUND, a missing required one with DISP_E_PARAMNOTOPTIONAL.
    void Expect(size_t declared, size_t required = 0) const;
    // Refuses the value at `index` as out of range: E_INVALIDARG.
    [[noreturn]] void Refuse(size_t index) const;
    // A property put passes its value as the one named argument, DISPID_PROPERTYPUT.
    size_t Count() const { return m_params->cArgs; }

private:
    // The place of `index` in rgvarg; cArgs when it was not passed.
    UINT Position(size_t index) const;

    DISPPARAMS* m_params;
};

// Thrown for an argument the member's declaration refuses: Invoke fails with
// `code` itself and reports `position`, the argument's place in rgvarg.
struct ArgumentError {
    HRESULT code;
    UINT position;
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
