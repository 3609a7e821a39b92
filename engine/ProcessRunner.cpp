#include "ProcessRunner.h"

#include <wchar.h>

#include <algorithm>
#include <vector>

#include "ProcessTree.h"
#include "UniqueHandle.h"

namespace {

bool IsTempEntry(const wchar_t* entry) {
    return _wcsnicmp(entry, L"TEMP=", 5) == 0 || _wcsnicmp(entry, L"TMP=", 4) == 0;
}

// A variable's name; the drive entries ("=C:=C:\...") start with their '='.
std::wstring NameOf(const std::wstring& entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

// Windows wants the block sorted by name, ignoring case.
bool NameBefore(const std::wstring& left, const std::wstring& right) {
    return _wcsicmp(NameOf(left).c_str(), NameOf(right).c_str()) < 0;
}

}  // namespace

DWORD ProcessRunner::RunProcess(const std::wstring& commandLine, bool wait, DWORD* exitCode,
                                const std::wstring& currentFolder, const std::wstring& tempFolder) {
    if (exitCode) *exitCode = STILL_ACTIVE;
    const std::wstring environment = tempFolder.empty() ? std::wstring() : EnvironmentWithTemp(tempFolder);
    if (!wait) return RunDetached(commandLine, currentFolder, environment);
    // Should the host end while the child runs, the job's last handle goes with it.
    ProcessTree child;
    if (!child.Start(std::wstring(), commandLine, currentFolder, environment)) return 0;
    child.WaitForRoot(INFINITE);
    if (exitCode) *exitCode = child.RootExitCode();
    return child.RootId();
}

std::wstring ProcessRunner::EnvironmentWithTemp(const std::wstring& folder) {
    std::vector<std::wstring> entries = {L"TEMP=" + folder, L"TMP=" + folder};
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1)
            if (!IsTempEntry(entry)) entries.emplace_back(entry);
        FreeEnvironmentStringsW(strings);
    }
    std::stable_sort(entries.begin(), entries.end(), NameBefore);
    std::wstring block;
    for (const std::wstring& entry : entries) block.append(entry).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

DWORD ProcessRunner::RunDetached(const std::wstring& commandLine, const std::wstring& currentFolder,
                                 const std::wstring& environment) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring buffer = commandLine;  // CreateProcessW may write into it
    const wchar_t* folder = currentFolder.empty() ? nullptr : currentFolder.c_str();
    void* block = environment.empty() ? nullptr : const_cast<wchar_t*>(environment.c_str());
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS | (block ? CREATE_UNICODE_ENVIRONMENT : 0), block, folder, &startup,
                        &info))
        return 0;
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    return info.dwProcessId;
}
