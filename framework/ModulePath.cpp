#include "ModulePath.h"

#include <windows.h>

namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

HINSTANCE ModulePath::Instance() {
    return ThisModule();
}

std::wstring ModulePath::File() {
    // GetModuleFileNameW truncates silently; grow until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ModulePath::Folder() {
    std::wstring path = File();
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ModulePath::ProductFolder() {
    return ProductFolderOf(Folder());
}

std::wstring ModulePath::ProductFolderOf(const std::wstring& folder) {
    const size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos || _wcsicmp(folder.c_str() + slash + 1, L"x86") != 0) return folder;
    const std::wstring parent = folder.substr(0, slash);
    const bool setUp = GetFileAttributesW((parent + L"\\Brenmoor.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
    return setUp ? parent : folder;
}

std::wstring ModulePath::BaseName() {
    std::wstring path = File();
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}
