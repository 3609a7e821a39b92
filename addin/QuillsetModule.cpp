#include "QuillsetModule.h"

#include <oleauto.h>

#include <algorithm>

#include "ClassFactory.h"
#include "ComRef.h"
#include "ModulePath.h"
#include "PowerPointAddin.h"
#include "Quillset.h"
#include "Registrar.h"
#include "RegistryScript.h"
#include "UserTypeLibrary.h"
#include "Win32Registry.h"

const wchar_t* const CQuillsetModule::kAppId = L"{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}";

namespace {

const int kAppIdScript = 101;
const int kClassScript = 103;
const ClassEntry kClasses[] = {{&CLSID_PowerPointAddin, &CPowerPointAddin::Create}};

// Registration runs under the system default locale and gives the caller's back.
class LocaleScope {
public:
    LocaleScope() : m_saved(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~LocaleScope() { SetThreadLocale(m_saved); }

private:
    LCID m_saved;
};

}  // namespace

HRESULT CQuillsetModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return ClassFactory::GetClassObject(kClasses, sizeof kClasses / sizeof kClasses[0], clsid, iid, out);
}

std::wstring CQuillsetModule::ScriptText(int resource) {
    HMODULE module = ModulePath::Instance();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), L"REGISTRY");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return {};
    const int size = static_cast<int>(SizeofResource(module, found));
    std::wstring text(static_cast<size_t>(size), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes, size, text.data(), size)));
    return text;
}

ScriptReplacements CQuillsetModule::Replacements(const std::wstring& path, const wchar_t* addinRoot) {
    ScriptReplacements replacements;
    replacements.Add(L"APPID", kAppId);
    replacements.Add(L"Module", path);  // the registrar doubles single quotes itself
    replacements.Add(L"Module_Raw", path);
    replacements.Add(L"ADDINROOT", addinRoot);
    return replacements;
}

HRESULT CQuillsetModule::ApplyScript(int resource, bool registering) {
    const std::wstring path = ModulePath::File();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring text = ScriptText(resource);
    if (text.empty()) return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    // PowerPoint reads HKLM's add-ins for every user, HKCU's for the one user only.
    const ScriptReplacements replacements = Replacements(path, s_perUser ? L"HKCU" : L"HKLM");
    Win32Registry registry;
    Registrar registrar(registry, s_perUser ? Registrar::ClassesScope::PerUser : Registrar::ClassesScope::Machine);
    RegistrarStatus status =
        registering ? registrar.Register(text, replacements) : registrar.Unregister(text, replacements);
    return status.IsOk() ? S_OK : HRESULT_FROM_WIN32(status.Code());
}

// Earlier versions wrote the add-in key to HKCU also when registering machine-wide.
// It goes with the machine-wide registration, unless a per-user one still needs it.
HRESULT CQuillsetModule::RemoveEarlierUserAddinKey() {
    wchar_t clsid[40] = {};
    StringFromGUID2(CLSID_PowerPointAddin, clsid, 40);
    const std::wstring userClass = std::wstring(L"Software\\Classes\\CLSID\\") + clsid;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, userClass.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        UniqueRegistryKey held(key);
        return S_OK;
    }
    RegistryScript script;
    RegistrarStatus status =
        RegistryScript::Parse(ScriptText(kClassScript), Replacements(ModulePath::File(), L"HKCU"), script);
    if (!status.IsOk()) return HRESULT_FROM_WIN32(status.Code());
    script.roots.erase(
        std::remove_if(script.roots.begin(), script.roots.end(),
                       [](const ScriptRoot& root) { return root.root != RegistryRoot::CurrentUser; }),
        script.roots.end());
    Win32Registry registry;
    status = Registrar(registry).Unregister(script);
    return status.IsOk() ? S_OK : HRESULT_FROM_WIN32(status.Code());
}

HRESULT CQuillsetModule::RegisterTypeLibrary() {
    std::wstring path = ModulePath::File();
    ComRef<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
    if (FAILED(hr)) return hr;
    return s_perUser ? UserTypeLibrary::Register(library.Get(), path)
                     : RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT CQuillsetModule::UnregisterTypeLibrary() {
    ComRef<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(ModulePath::File().c_str(), REGKIND_NONE, library.Put());
    if (FAILED(hr)) return hr;
    if (s_perUser) return UserTypeLibrary::Unregister(library.Get());
    TLIBATTR* attributes = nullptr;
    if (FAILED(hr = library->GetLibAttr(&attributes))) return hr;
    const TLIBATTR a = *attributes;
    library->ReleaseTLibAttr(attributes);
    return UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
}

HRESULT CQuillsetModule::RegisterServer() {
    LocaleScope locale;
    HRESULT hr = ApplyScript(kAppIdScript, true);
    if (SUCCEEDED(hr)) hr = ApplyScript(kClassScript, true);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary();
    return hr;
}

HRESULT CQuillsetModule::UnregisterServer() {
    LocaleScope locale;
    HRESULT hr = ApplyScript(kClassScript, false);
    if (SUCCEEDED(hr)) hr = UnregisterTypeLibrary();
    if (SUCCEEDED(hr)) hr = ApplyScript(kAppIdScript, false);
    if (SUCCEEDED(hr) && !s_perUser) hr = RemoveEarlierUserAddinKey();
    return hr;
}
