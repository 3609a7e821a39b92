#include "StandInBusyFilter.h"

StandInBusyFilter::StandInBusyFilter(int seconds) : m_busyMs(static_cast<ULONGLONG>(seconds) * 1000) {
    m_registered = SUCCEEDED(CoRegisterMessageFilter(this, nullptr));
}

StandInBusyFilter::~StandInBusyFilter() {
    if (m_registered) CoRegisterMessageFilter(nullptr, nullptr);
}

STDMETHODIMP StandInBusyFilter::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *out = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// Only automation calls: COM's own (IRemUnknown, the class factory) go through.
STDMETHODIMP_(DWORD) StandInBusyFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) {
    if (!info || info->iid != IID_IDispatch) return SERVERCALL_ISHANDLED;
    const ULONGLONG now = GetTickCount64();
    if (!m_busySince) m_busySince = now;
    if (now - m_busySince >= m_busyMs) return SERVERCALL_ISHANDLED;
    ++m_rejected;
    return UnderWine() ? SERVERCALL_REJECTED : SERVERCALL_RETRYLATER;
}

bool StandInBusyFilter::UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
