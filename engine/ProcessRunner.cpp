#include "ProcessRunner.h"

#include "UniqueHandle.h"

DWORD ProcessRunner::RunProcess(const std::wstring& commandLine, bool wait, DWORD* exitCode,
                                const std::wstring& currentFolder) {
    if (exitCode) *exitCode = STILL_ACTIVE;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring buffer = commandLine;  // CreateProcessW may write into it
    const wchar_t* folder = currentFolder.empty() ? nullptr : currentFolder.c_str();
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, folder,
                        &startup, &info))
        return 0;
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    if (wait && process) {
        WaitForSingleObject(process.Get(), INFINITE);
        if (exitCode) GetExitCodeProcess(process.Get(), exitCode);
    }
    return info.dwProcessId;
}
