#pragma once
// A COM message filter for a thread that calls into a busy server: PowerPoint
// rejects calls while it shows a dialog of its own or saves. While registered,
// a rejected call is retried until `limitMs` have passed since it was first
// made, then it fails with RPC_E_CALL_REJECTED. COM asks the filter itself
// (RetryRejectedCall); where a rejection comes back without asking it, Retry
// applies the same rule. Lives on the stack of the thread that registered it.
#include <windows.h>
#include <objidl.h>

#include <functional>

class RejectedCallFilter : public IMessageFilter {
public:
    static const DWORD kCancel = static_cast<DWORD>(-1);
    static const DWORD kRetryPauseMs = 250;

    // Registers for the calling thread's single-threaded apartment.
    explicit RejectedCallFilter(DWORD limitMs);
    ~RejectedCallFilter();
    RejectedCallFilter(const RejectedCallFilter&) = delete;
    RejectedCallFilter& operator=(const RejectedCallFilter&) = delete;

    bool Registered() const { return m_registered; }
    // Milliseconds to wait before trying again, or kCancel.
    DWORD Decide(DWORD elapsedMs) const;

    // Makes `call` and, while the thread's filter says so, makes it again after a
    // rejection. Without a registered filter, just makes it once.
    static HRESULT Retry(const std::function<HRESULT()>& call);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP_(DWORD) HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
    STDMETHODIMP_(DWORD) RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override;
    STDMETHODIMP_(DWORD) MessagePending(HTASK, DWORD, DWORD) override;

private:
    static bool IsRejection(HRESULT hr);

    DWORD m_limitMs;
    bool m_registered = false;
    IMessageFilter* m_previous = nullptr;
    RejectedCallFilter* m_outer;
    static thread_local RejectedCallFilter* t_current;
};
