#pragma once
// Everything the stand-in runs on its user-interface thread: the Application
// object, its window, the class object registered for COM clients, and the
// loaded add-ins. The caller's thread must be in a single-threaded apartment
// and pump messages.
#include <memory>

#include "AddinLoader.h"
#include "ComRef.h"
#include "StandInApplication.h"
#include "StandInBusyFilter.h"
#include "StandInOptions.h"
#include "StandInWindow.h"

class StandInHost {
public:
    explicit StandInHost(const StandInOptions& options);
    ~StandInHost();
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    HRESULT Registration() const { return m_registration; }
    StandInApplication& Application() const { return *m_application.Get(); }
    StandInWindow& Window() const { return *m_window; }
    AddinLoader& Addins() { return m_addins; }
    // Calls rejected while busy (--busy=N); 0 when not playing busy.
    int RejectedCalls() const { return m_busy ? m_busy->Rejected() : 0; }

private:
    ComRef<StandInApplication> m_application;
    std::unique_ptr<StandInWindow> m_window;
    AddinLoader m_addins;
    std::unique_ptr<StandInBusyFilter> m_busy;
    DWORD m_cookie = 0;
    HRESULT m_registration = E_FAIL;
};
