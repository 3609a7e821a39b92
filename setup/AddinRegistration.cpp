#include "AddinRegistration.h"

#include <windows.h>

#include "LibraryExport.h"
#include "UniqueHandle.h"

namespace {

using RegisterServerFn = HRESULT(WINAPI*)();
using InstallFn = HRESULT(WINAPI*)(BOOL, LPCWSTR);

}  // namespace

RegistrationResult AddinRegistration::Register(const std::wstring& libraryPath) {
    // The altered search path makes the library's own folder the place its
    // dependencies are looked up first, not ours or the current directory.
    UniqueLibrary library(LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!library) return RegistrationResult::LibraryMissing;
    const auto registerServer = LibraryExport<RegisterServerFn>(library.Get(), "DllRegisterServer");
    if (!registerServer) return RegistrationResult::ExportMissing;
    if (SUCCEEDED(registerServer())) return RegistrationResult::Registered;
    const auto install = LibraryExport<InstallFn>(library.Get(), "DllInstall");
    if (install && SUCCEEDED(install(TRUE, L"user"))) return RegistrationResult::Registered;
    return RegistrationResult::Refused;
}
