#include "AddinRegistration.h"

#include <windows.h>

#include "LibraryExport.h"
#include "UniqueHandle.h"

namespace {

using RegisterServerFn = HRESULT(WINAPI*)();
using InstallFn = HRESULT(WINAPI*)(BOOL, LPCWSTR);

}  // namespace

HMODULE AddinRegistration::Load(const std::wstring& libraryPath) {
    // Its dependencies come from its own folder and System32, never from ours or the current directory.
    HMODULE library = LoadLibraryExW(libraryPath.c_str(), nullptr,
                                     LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without KB2533623 knows no such flags; the altered search path comes closest.
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER)
        library = LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return library;
}

RegistrationResult AddinRegistration::Register(const std::wstring& libraryPath) {
    UniqueLibrary library(Load(libraryPath));
    if (!library) return RegistrationResult::LibraryMissing;
    const auto registerServer = LibraryExport<RegisterServerFn>(library.Get(), "DllRegisterServer");
    if (!registerServer) return RegistrationResult::ExportMissing;
    if (SUCCEEDED(registerServer())) return RegistrationResult::Registered;
    const auto install = LibraryExport<InstallFn>(library.Get(), "DllInstall");
    if (install && SUCCEEDED(install(TRUE, L"user"))) return RegistrationResult::Registered;
    return RegistrationResult::Refused;
}

HRESULT AddinRegistration::Unregister(const std::wstring& libraryPath) {
    UniqueLibrary library(Load(libraryPath));
    if (!library) return HRESULT_FROM_WIN32(GetLastError());
    const auto unregisterServer = LibraryExport<RegisterServerFn>(library.Get(), "DllUnregisterServer");
    return unregisterServer ? unregisterServer() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}
