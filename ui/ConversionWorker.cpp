#include "ConversionWorker.h"

#include <memory>

#include "AppMessageBox.h"
#include "ConversionRun.h"
#include "ModuleLock.h"

UniqueKernelHandle ConversionWorker::Start(const ConversionOptions& options, HWND dialog, HANDLE cancel) {
    std::unique_ptr<ConversionWorker> worker(new ConversionWorker(options, dialog));
    HANDLE own = nullptr;
    if (cancel && DuplicateHandle(GetCurrentProcess(), cancel, GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0))
        worker->m_cancel.Reset(own);
    ModuleLock::Add();
    HMODULE library = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ConversionThreadProc),
                       &library);
    worker->m_library.Reset(library);
    UniqueKernelHandle thread(CreateThread(nullptr, 0, &ConversionThreadProc, worker.get(), 0, nullptr));
    if (thread) {
        worker.release();  // the thread's now
        return thread;
    }
    worker.reset();
    ModuleLock::Release();
    return thread;
}

DWORD WINAPI ConversionWorker::ConversionThreadProc(LPVOID param) {
    std::unique_ptr<ConversionWorker> worker(static_cast<ConversionWorker*>(param));
    AppMessageBox::SetOwner(worker->m_dialog);
    worker->Report(worker->RunConversion());
    const HMODULE library = worker->m_library.Release();
    worker.reset();
    ModuleLock::Release();
    if (library) FreeLibraryAndExitThread(library, 0);
    return 0;
}

bool ConversionWorker::RunConversion() const {
    try {
        Sleep(100);
        const HWND dialog = m_dialog;
        const RunCancel cancel(m_cancel.Get(), [dialog](bool waiting) {
            PostMessageW(dialog, kRunWaitingMessage, waiting, 0);
        });
        return ConversionRun(m_options, cancel).Execute() == ConversionRun::Outcome::Produced;
    } catch (...) {
        try {
            ConversionRun(m_options).ReportFailure();
        } catch (...) {
        }
        return false;
    }
}

void ConversionWorker::Report(bool produced) const {
    PostMessageW(m_dialog, kRunEndingMessage, 0, 0);
    Sleep(500);
    PostMessageW(m_dialog, kRunEndedMessage, produced, 0);
}
