#include "UnixChild.h"

#include <windows.h>

#include "UniqueHandle.h"

#include <cstdio>
#include <vector>

namespace {
using UnixNameFn = char*(CDECL*)(LPCWSTR);
}

std::string UnixChild::Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::wstring UnixChild::Wide(const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string UnixChild::UnixPath(const std::wstring& windowsPath) {
    // Wine's own export, the one winepath uses. It knows only paths whose folder
    // exists, so a missing folder is mapped through its nearest existing parent.
    static const auto toUnix = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return Utf8(windowsPath);
    if (char* name = toUnix(windowsPath.c_str())) {
        std::string result(name);
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }
    size_t slash = windowsPath.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash < 3) return Utf8(windowsPath);
    return UnixPath(windowsPath.substr(0, slash)) + "/" + Utf8(windowsPath.substr(slash + 1));
}

std::wstring UnixChild::TempFile(const wchar_t* prefix) {
    wchar_t folder[MAX_PATH + 1];
    wchar_t file[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, prefix, 0, file)) return {};
    return file;
}

bool UnixChild::WriteFile(const std::wstring& path, const std::string& bytes, bool append) {
    FILE* file = _wfopen(path.c_str(), append ? L"ab" : L"wb");
    if (!file) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

std::string UnixChild::ReadFile(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    fclose(file);
    return bytes;
}

int UnixChild::Run(const std::wstring& script, const std::wstring& requestFile) {
    const std::wstring statusFile = requestFile + L".status";
    DeleteFileW(statusFile.c_str());
    if (!Start(script, requestFile)) return -1;
    while (GetFileAttributesW(statusFile.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(20);
    int status = 255;
    if (std::sscanf(ReadFile(statusFile).c_str(), "%d", &status) != 1) status = 255;
    DeleteFileW(statusFile.c_str());
    return status;
}

std::wstring UnixChild::Starter(const std::wstring& script) {
    const size_t slash = script.find_last_of(L'\\');
    return (slash == std::wstring::npos ? std::wstring() : script.substr(0, slash + 1)) + kStarter;
}

// Through unix-start.exe, a Windows program whose handles are real: what Wine
// hands back for the Unix program stays in that process.
bool UnixChild::Start(const std::wstring& script, const std::wstring& requestFile) {
    const std::wstring starter = Starter(script);
    std::wstring commandLine =
        L"\"" + starter + L"\" \"" + script + L"\" \"" + Wide(UnixPath(requestFile)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(starter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    const UniqueKernelHandle child(process.hProcess);
    const UniqueKernelHandle thread(process.hThread);
    DWORD code = 1;
    return WaitForSingleObject(child.Get(), INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(child.Get(), &code) &&
           code == 0;
}
