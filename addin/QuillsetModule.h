#pragma once
// The library as a COM server: its class table, registration of the two registry
// scripts, the type library and (through the exports) the proxy/stub.
#include <windows.h>

#include <string>

#include "ScriptReplacements.h"

class CQuillsetModule {
public:
    static const wchar_t* const kAppId;

    static HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
    // Scripts 101 and 103, then the type library; stops at the first failure.
    // The add-in key goes to HKLM machine-wide, to HKCU per user.
    static HRESULT RegisterServer();
    // Script 103 and the type library, then script 101; machine-wide, also the
    // HKCU add-in key an earlier version left.
    static HRESULT UnregisterServer();
    // From then on, HKCR keys and the type library go to the current user.
    static void SetPerUser() { s_perUser = true; }
    static bool PerUser() { return s_perUser; }

private:
    static ScriptReplacements Replacements(const std::wstring& path, const wchar_t* addinRoot);
    static HRESULT ApplyScript(int resource, bool registering);
    static HRESULT RemoveEarlierUserAddinKey();
    static HRESULT RegisterTypeLibrary();
    static HRESULT UnregisterTypeLibrary();
    static std::wstring ScriptText(int resource);

    static inline bool s_perUser = false;
};
