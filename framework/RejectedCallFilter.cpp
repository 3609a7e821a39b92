#include "RejectedCallFilter.h"

thread_local RejectedCallFilter* RejectedCallFilter::t_current = nullptr;

RejectedCallFilter::RejectedCallFilter(DWORD limitMs) : m_limitMs(limitMs), m_outer(t_current) {
    m_registered = SUCCEEDED(CoRegisterMessageFilter(this, &m_previous));
    t_current = this;
}

RejectedCallFilter::~RejectedCallFilter() {
    t_current = m_outer;
    if (!m_registered) return;
    IMessageFilter* ours = nullptr;
    CoRegisterMessageFilter(m_previous, &ours);
    if (ours) ours->Release();
    if (m_previous) m_previous->Release();
}

DWORD RejectedCallFilter::Decide(DWORD elapsedMs) const {
    return elapsedMs < m_limitMs ? kRetryPauseMs : kCancel;
}

bool RejectedCallFilter::IsRejection(HRESULT hr) {
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

HRESULT RejectedCallFilter::Retry(const std::function<HRESULT()>& call) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const HRESULT hr = call();
        if (!IsRejection(hr) || !t_current) return hr;
        const DWORD pause = t_current->Decide(static_cast<DWORD>(GetTickCount64() - start));
        if (pause == kCancel) return hr;
        Sleep(pause);
    }
}

STDMETHODIMP RejectedCallFilter::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *out = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(DWORD) RejectedCallFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
    return SERVERCALL_ISHANDLED;
}

// Either kind of rejection: a busy PowerPoint answers SERVERCALL_RETRYLATER.
STDMETHODIMP_(DWORD) RejectedCallFilter::RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD) {
    return Decide(elapsedMs);
}

STDMETHODIMP_(DWORD) RejectedCallFilter::MessagePending(HTASK, DWORD, DWORD) {
    return PENDINGMSG_WAITDEFPROCESS;
}
