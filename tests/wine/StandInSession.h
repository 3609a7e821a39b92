#pragma once
// Hosts the PowerPoint stand-in on the test's thread, as PowerPoint's
// user-interface thread, and runs work on a worker thread while that thread
// keeps serving COM calls by pumping messages.
#include <windows.h>

#include <functional>
#include <memory>

#include "StandInHost.h"

class StandInSession {
public:
    explicit StandInSession(const StandInOptions& options);
    ~StandInSession();

    StandInApplication& Application() const { return m_host->Application(); }
    StandInHost& Host() const { return *m_host; }

    // Runs `work` on a new thread with its own apartment set up by `work` itself,
    // pumping messages here until it ends.
    void RunOnWorker(const std::function<void()>& work);
    // Pumps messages until `done` holds or `timeoutMs` passes; false on time-out.
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

private:
    std::unique_ptr<StandInHost> m_host;
};
