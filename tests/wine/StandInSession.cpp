#include "StandInSession.h"

StandInSession::StandInSession(const StandInOptions& options) {
    OleInitialize(nullptr);
    m_host = std::make_unique<StandInHost>(options);
}

StandInSession::~StandInSession() {
    m_host.reset();
    OleUninitialize();
}

namespace {
DWORD WINAPI RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}
}  // namespace

void StandInSession::RunOnWorker(const std::function<void()>& work) {
    HANDLE thread = CreateThread(nullptr, 0, &RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (!thread) return;
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    CloseHandle(thread);
}

bool StandInSession::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}
