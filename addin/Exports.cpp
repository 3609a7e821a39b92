// The five exports of the in-process server. The proxy/stub for
// IPowerPointAddin is built in with the prefix Prx (see dlldata.c).
#include <windows.h>

#include <cwctype>

#include "ClassesRootOverride.h"
#include "ModuleLock.h"
#include "QuillsetModule.h"

extern "C" {
BOOL WINAPI PrxDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
HRESULT WINAPI PrxDllGetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT WINAPI PrxDllCanUnloadNow();
HRESULT WINAPI PrxDllRegisterServer();
HRESULT WINAPI PrxDllUnregisterServer();
}

namespace {
// "user" alone, in any letter case, asks for per-user registration.
bool IsUserArgument(LPCWSTR line) {
    if (!line) return false;
    const wchar_t user[] = L"user";
    for (int i = 0; i < 4; ++i)
        if (std::towlower(line[i]) != user[i]) return false;
    return line[4] == L'\0';
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    // The proxy/stub code keeps the instance to find this library's path.
    return PrxDllMain(instance, reason, reserved);
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (PrxDllGetClassObject(clsid, iid, out) == S_OK) return S_OK;
    return CQuillsetModule::GetClassObject(clsid, iid, out);
}

STDAPI DllCanUnloadNow() {
    HRESULT proxies = PrxDllCanUnloadNow();
    if (proxies != S_OK) return proxies;
    return ModuleLock::Count() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    // Per user, the proxy/stub and the type library must not reach HKLM either.
    ClassesRootOverride classes(CQuillsetModule::PerUser());
    HRESULT hr = classes.Status();
    if (SUCCEEDED(hr)) hr = CQuillsetModule::RegisterServer();
    return FAILED(hr) ? hr : PrxDllRegisterServer();
}

STDAPI DllUnregisterServer() {
    ClassesRootOverride classes(CQuillsetModule::PerUser());
    HRESULT hr = classes.Status();
    if (SUCCEEDED(hr)) hr = CQuillsetModule::UnregisterServer();
    if (SUCCEEDED(hr)) hr = PrxDllRegisterServer();
    return FAILED(hr) ? hr : PrxDllUnregisterServer();
}

STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    if (IsUserArgument(commandLine)) CQuillsetModule::SetPerUser();
    if (!install) return DllUnregisterServer();
    HRESULT hr = DllRegisterServer();
    if (FAILED(hr)) DllUnregisterServer();
    return hr;
}
