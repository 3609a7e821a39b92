#include "ProcessTree.h"

bool ProcessTree::Launch(const std::wstring& program, std::wstring commandLine, const std::wstring& folder,
                         const std::wstring& environment, DWORD flags, UniqueKernelHandle& thread) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    void* block = environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str());
    if (block) flags |= CREATE_UNICODE_ENVIRONMENT;
    if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), commandLine.data(), nullptr, nullptr,
                        FALSE, CREATE_NO_WINDOW | flags, block, folder.empty() ? nullptr : folder.c_str(),
                        &startup, &process))
        return false;
    thread.Reset(process.hThread);
    m_root.Reset(process.hProcess);
    return true;
}

bool ProcessTree::Start(const std::wstring& program, std::wstring commandLine, const std::wstring& folder,
                        const std::wstring& environment) {
    m_job.Reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (m_job &&
        !SetInformationJobObject(m_job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        m_job.Reset();
    // Windows 7 nests no jobs: inside a caller's job that allows it, the tree breaks away.
    for (const DWORD breakaway : {0ul, static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB)}) {
        UniqueKernelHandle thread;
        // Suspended until it is in the job, so that nothing it starts escapes.
        if (!m_job ||
            !Launch(program, commandLine, folder, environment, CREATE_SUSPENDED | breakaway, thread))
            continue;
        if (AssignProcessToJobObject(m_job.Get(), m_root.Get()))
            return ResumeThread(thread.Get()) != DWORD(-1);
        TerminateProcess(m_root.Get(), 1);
        m_root.Reset();
    }
    // No job of ours: at least the first process can be ended.
    m_job.Reset();
    UniqueKernelHandle thread;
    return Launch(program, commandLine, folder, environment, 0, thread);
}

DWORD ProcessTree::RootExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (!m_root || !GetExitCodeProcess(m_root.Get(), &code)) return STILL_ACTIVE;
    return code;
}

bool ProcessTree::WaitForRoot(DWORD limitMs) const {
    return m_root && WaitForSingleObject(m_root.Get(), limitMs) == WAIT_OBJECT_0;
}

void ProcessTree::End() {
    if (m_job)
        TerminateJobObject(m_job.Get(), 1);
    else if (m_root)
        TerminateProcess(m_root.Get(), 1);
    m_job.Reset();
    m_root.Reset();
}
