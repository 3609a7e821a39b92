#include "MessagePump.h"

#include <windows.h>

namespace {
DWORD WINAPI RunWork(void* work) {
    try {
        (*static_cast<const std::function<void()>*>(work))();
    } catch (...) {
    }
    return 0;
}
}  // namespace

void MessagePump::PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void MessagePump::RunOnWorker(const std::function<void()>& work) {
    HANDLE thread = CreateThread(nullptr, 0, &RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (!thread) return;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) PumpPending();
    CloseHandle(thread);
}

bool MessagePump::PumpUntil(const std::function<bool()>& done, unsigned long timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}
