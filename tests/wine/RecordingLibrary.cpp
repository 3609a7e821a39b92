// A stand-in for Quillset.dll in the setup program's tests: it records each
// registration call in calls.txt beside itself, and refuses machine-wide or
// per-user registration when a file "refuse-machine" or "refuse-user" lies there.
#include <windows.h>

#include <string>

namespace {

HMODULE g_self = nullptr;

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_self, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

void Record(const std::string& line) {
    HANDLE file = CreateFileW(Beside(L"calls.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

bool Refused(const wchar_t* marker) {
    return GetFileAttributesW(Beside(marker).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    Record("DllRegisterServer\n");
    return Refused(L"refuse-machine") ? E_ACCESSDENIED : S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    std::string line = install ? "DllInstall install " : "DllInstall uninstall ";
    for (const wchar_t* c = commandLine; c && *c; ++c) line += static_cast<char>(*c);
    Record(line + "\n");
    return Refused(L"refuse-user") ? E_ACCESSDENIED : S_OK;
}
