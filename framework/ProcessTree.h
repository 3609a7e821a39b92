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

    // Starts `program` hidden, without a console window, in `folder`. An empty
    // `program` is the first token of `commandLine`; an empty `folder` is the
    // caller's; an empty `environment` (otherwise a Unicode block ending in two
    // zeros) is the caller's.
    bool Start(const std::wstring& program, std::wstring commandLine, const std::wstring& folder,
               const std::wstring& environment = std::wstring());
    // The first process's exit code; STILL_ACTIVE while it runs or when there is none.
    DWORD RootExitCode() const;
    DWORD RootId() const { return m_root ? GetProcessId(m_root.Get()) : 0; }
    // Whether the first process ended within `limitMs`.
    bool WaitForRoot(DWORD limitMs) const;
    // Ends every process of the tree that still runs.
    void End();

private:
    bool Launch(const std::wstring& program, std::wstring commandLine, const std::wstring& folder,
                const std::wstring& environment, DWORD flags, UniqueKernelHandle& thread);

    UniqueKernelHandle m_job;
    UniqueKernelHandle m_root;
};
