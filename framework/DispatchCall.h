#pragma once
// Late-bound calls on an IDispatch, by dispatch id or by member name. A call
// that a busy server rejects is retried as the thread's RejectedCallFilter says.
#include <oaidl.h>

#include <initializer_list>
#include <string>

#include "AutomationValues.h"
#include "ComRef.h"

class DispatchCall {
public:
    explicit DispatchCall(IDispatch* target) : m_target(target) {}

    // Arguments in the member's own order; an empty result slot is allowed.
    HRESULT Method(DISPID id, std::initializer_list<VARIANT*> args = {}, VARIANT* result = nullptr) const;
    HRESULT Get(DISPID id, VARIANT* result) const;
    HRESULT Put(DISPID id, VARIANT* value) const;
    HRESULT GetDispatch(DISPID id, ComRef<IDispatch>& object) const;

    HRESULT IdOf(const wchar_t* name, DISPID& id) const;
    HRESULT Method(const wchar_t* name, std::initializer_list<VARIANT*> args = {}, VARIANT* result = nullptr) const;
    HRESULT Get(const wchar_t* name, VARIANT* result) const;
    HRESULT Put(const wchar_t* name, VARIANT* value) const;
    HRESULT GetDispatch(const wchar_t* name, ComRef<IDispatch>& object) const;

private:
    HRESULT Invoke(DISPID id, WORD flags, std::initializer_list<VARIANT*> args, VARIANT* result) const;

    IDispatch* m_target;
};
