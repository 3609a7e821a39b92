#include "TestFiles.h"

#include <windows.h>
#include <shlobj.h>

#include "UnixChild.h"
#include "UnixShell.h"

namespace {
// Wine maps drive Z: to the Unix root.
std::wstring Below(const char* unixFolder, const std::wstring& relative) {
    std::wstring path = L"Z:" + UnixChild::Wide(unixFolder) + L"/" + relative;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}
}  // namespace

std::wstring TestFiles::Source(const std::wstring& relative) {
    return Below(QUILLSET_SOURCE_DIR, relative);
}

std::wstring TestFiles::Built(const std::wstring& relative) {
    return Below(QUILLSET_BINARY_DIR, relative);
}

std::wstring TestFiles::NativePrintUI() {
    return Below(QUILLSET_NATIVE_BINARY_DIR, L"harness\\printui\\printui.dll");
}

bool TestFiles::Wow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring TestFiles::ImageSystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (!Wow64() || !GetSystemWow64DirectoryW(folder, MAX_PATH)) GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring TestFiles::NativeSystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (!Wow64()) {
        GetSystemDirectoryW(folder, MAX_PATH);
        return folder;
    }
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Sysnative";
}

std::wstring TestFiles::NewFolder(const std::wstring& name) {
    static const std::wstring temp = [] {
        wchar_t path[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, path);
        return std::wstring(path);
    }();
    std::wstring folder = temp + L"quillset-tests\\" + name;
    UnixShell::Run("rm -rf " + UnixShell::Quote(folder));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder + L"\\";
}

bool TestFiles::Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TestFiles::Read(const std::wstring& path) {
    return UnixChild::ReadFile(path);
}

bool TestFiles::Write(const std::wstring& path, const std::string& bytes) {
    return UnixChild::WriteFile(path, bytes);
}
