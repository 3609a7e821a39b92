#pragma once
// Keeps a user-interface thread serving messages (and so COM calls made into
// its apartment) while it waits.
#include <functional>

class MessagePump {
public:
    // Runs `work` on a new thread and pumps messages here until it ends.
    static void RunOnWorker(const std::function<void()>& work);
    // Pumps messages until `done` holds or `timeoutMs` passes; false on time-out.
    static bool PumpUntil(const std::function<bool()>& done, unsigned long timeoutMs);

private:
    static void PumpPending();
};
