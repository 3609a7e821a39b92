#pragma once
// Registers the add-in library: machine-wide, and per user when the
// machine-wide keys are refused (no elevation).
#include <windows.h>

#include <string>

enum class RegistrationResult {
    Registered = 0,
    LibraryMissing = 1,  // not found in the given folder, or could not be loaded
    ExportMissing = 2,   // no DllRegisterServer
    Refused = 3,         // both registrations failed
};

class AddinRegistration {
public:
    // `libraryPath` is a full path: a bare name would let the search path pick a
    // planted library, which would then run with the installer's rights.
    static RegistrationResult Register(const std::wstring& libraryPath);
    // Machine-wide unregistration (DllUnregisterServer); the library's failure, or
    // the loader's.
    static HRESULT Unregister(const std::wstring& libraryPath);

private:
    static HMODULE Load(const std::wstring& libraryPath);
};
