#pragma once
// A child process and every process it starts, held in a job object: the
// whole tree ends when the owner says so or goes, whatever the child left running.
#include <windows.h>

#include <string>

#include "UniqueHandle.h"

class ProcessTree {
public:
    ProcessTree() = default;
    ~ProcessTree() { End(); }
    ProcessTree(const ProcessTree&) = delete;
    ProcessTree& operator=(const ProcessTree&) = delete;

    // Starts `program` hidden, without a console window, in `folder`.
    bool Start(const std::wstring& program, std::wstring commandLine, const std::wstring& folder);
    // Whether the first process ended within `limitMs`.
    bool WaitForRoot(DWORD limitMs) const;
    // Ends every process of the tree that still runs.
    void End();

private:
    bool Launch(const std::wstring& program, std::wstring commandLine, const std::wstring& folder, DWORD flags,
                UniqueKernelHandle& thread);

    UniqueKernelHandle m_job;
    UniqueKernelHandle m_root;
};
