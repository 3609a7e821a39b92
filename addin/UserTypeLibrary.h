#pragma once
// The type library's registration for one user, written under HKCR while
// ClassesRootOverride points it at HKCU\Software\Classes. Not through
// RegisterTypeLibForUser: where that falls back to RegisterTypeLib (older
// systems, Wine) it also writes the interfaces into HKLM's 32-bit view.
#include <oaidl.h>

#include <string>

class UserTypeLibrary {
public:
    // TypeLib\{LIBID}\<version> with its path for this platform, FLAGS and
    // HELPDIR, and Interface\{IID} with its TypeLib for each interface.
    static HRESULT Register(ITypeLib* library, const std::wstring& path);
    static HRESULT Unregister(ITypeLib* library);

private:
    static std::wstring VersionKey(const TLIBATTR& attributes);
    static HRESULT SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value);
    static HRESULT RegisterInterfaces(ITypeLib* library, const TLIBATTR& attributes, bool registering);
};
