#pragma once
// Starts a console program as a child process without a console window.
#include <windows.h>

#include <string>

class ProcessRunner {
public:
    // Returns the child's process id, or 0 when it could not be created. With
    // `wait`, blocks until the child ends; `exitCode` (optional) then receives
    // its exit code, otherwise STILL_ACTIVE. A waited-for child runs in a job
    // object that ends it, and whatever it started, should this process end
    // first. The child starts in `currentFolder`, or in the caller's current
    // folder when that is empty; with a `tempFolder`, TEMP and TMP name it.
    static DWORD RunProcess(const std::wstring& commandLine, bool wait, DWORD* exitCode = nullptr,
                            const std::wstring& currentFolder = std::wstring(),
                            const std::wstring& tempFolder = std::wstring());
    // This process's environment block with TEMP and TMP set to `folder`.
    static std::wstring EnvironmentWithTemp(const std::wstring& folder);

private:
    static DWORD RunDetached(const std::wstring& commandLine, const std::wstring& currentFolder,
                             const std::wstring& environment);
};
