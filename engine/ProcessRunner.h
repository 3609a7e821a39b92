#pragma once
// Starts a console program as a detached child process (no console window).
#include <windows.h>

#include <string>

class ProcessRunner {
public:
    // Returns the child's process id, or 0 when it could not be created. With
    // `wait`, blocks until the child ends; `exitCode` (optional) then receives
    // its exit code, otherwise STILL_ACTIVE. The child starts in `currentFolder`,
    // or in the caller's current folder when that is empty.
    static DWORD RunProcess(const std::wstring& commandLine, bool wait, DWORD* exitCode = nullptr,
                            const std::wstring& currentFolder = std::wstring());
};
