#pragma once
// PowerPoint while busy (a dialog of its own, an autosave): its message filter
// rejects automation calls from other apartments, here for a set time from the
// first such call. PowerPoint answers SERVERCALL_RETRYLATER; Wine runs a call so
// answered anyway, so under Wine the filter answers SERVERCALL_REJECTED, which
// reaches the caller as the same RPC_E_CALL_REJECTED that a Windows caller
// without a filter of its own gets.
#include <windows.h>
#include <objidl.h>

#include <atomic>

class StandInBusyFilter : public IMessageFilter {
public:
    // Registers for the calling thread's single-threaded apartment.
    explicit StandInBusyFilter(int seconds);
    ~StandInBusyFilter();
    StandInBusyFilter(const StandInBusyFilter&) = delete;
    StandInBusyFilter& operator=(const StandInBusyFilter&) = delete;

    int Rejected() const { return m_rejected; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP_(DWORD) HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override;
    STDMETHODIMP_(DWORD) RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    STDMETHODIMP_(DWORD) MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    static bool UnderWine();

    ULONGLONG m_busyMs;
    ULONGLONG m_busySince = 0;
    std::atomic<int> m_rejected{0};
    bool m_registered = false;
};
