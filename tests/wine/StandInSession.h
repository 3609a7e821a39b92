#pragma once
// Hosts the PowerPoint stand-in on the test's thread, as PowerPoint's
// user-interface thread, and runs work on a worker thread while that thread
// keeps serving COM calls by pumping messages.
#include <functional>
#include <memory>

#include "MessagePump.h"
#include "StandInHost.h"

class StandInSession {
public:
    explicit StandInSession(const StandInOptions& options);
    ~StandInSession();

    StandInApplication& Application() const { return m_host->Application(); }
    StandInHost& Host() const { return *m_host; }
    void RunOnWorker(const std::function<void()>& work) { MessagePump::RunOnWorker(work); }
    static bool PumpUntil(const std::function<bool()>& done, unsigned long timeoutMs) {
        return MessagePump::PumpUntil(done, timeoutMs);
    }

private:
    std::unique_ptr<StandInHost> m_host;
};
