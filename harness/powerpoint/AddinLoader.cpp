#include "AddinLoader.h"

#include <windows.h>

#include <algorithm>

#include "OfficeIds.h"

namespace {
const wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins";
const int kStartup = 1;       // ext_cm_Startup
const int kHostShutdown = 0;  // ext_dm_HostShutdown

DWORD LoadBehavior(HKEY addins, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(addins, name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

SAFEARRAY* EmptyCustom() {
    SAFEARRAYBOUND bound{0, 0};
    return SafeArrayCreate(VT_VARIANT, 1, &bound);
}

// Every subkey of one root's Addins key, with its LoadBehavior.
std::vector<std::pair<std::wstring, DWORD>> RegisteredAddins(HKEY root) {
    std::vector<std::pair<std::wstring, DWORD>> found;
    HKEY addins = nullptr;
    if (RegOpenKeyExW(root, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) return found;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(addins, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        found.emplace_back(name, LoadBehavior(addins, name));
    }
    RegCloseKey(addins);
    return found;
}
}  // namespace

void AddinLoader::LoadAll(IDispatch* application, bool ribbon) {
    // The user's own entry decides for an add-in registered both ways; each loads once.
    std::vector<std::pair<std::wstring, DWORD>> entries = RegisteredAddins(HKEY_CURRENT_USER);
    for (const auto& machine : RegisteredAddins(HKEY_LOCAL_MACHINE)) {
        const bool shadowed = std::any_of(entries.begin(), entries.end(), [&](const auto& user) {
            return CompareStringOrdinal(user.first.c_str(), -1, machine.first.c_str(), -1, TRUE) ==
                   CSTR_EQUAL;
        });
        if (!shadowed) entries.push_back(machine);
    }
    for (const auto& entry : entries)
        if (entry.second == 3) Load(entry.first, application, ribbon);
}

void AddinLoader::Load(const std::wstring& progId, IDispatch* application, bool ribbon) {
    CLSID clsid;
    ComRef<_IDTExtensibility2> addin;
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, OfficeIds::IID_DTExtensibility2, addin.PutVoid());
    if (FAILED(hr)) {
        m_failures.emplace_back(progId, hr);
        return;
    }
    SAFEARRAY* custom = EmptyCustom();
    HRESULT connection = addin->OnConnection(application, kStartup, nullptr, &custom);
    if (SUCCEEDED(connection)) addin->OnStartupComplete(&custom);
    SafeArrayDestroy(custom);
    Loaded loaded{progId, addin, connection, nullptr, false};
    // Only a connected add-in is asked, after its start-up is complete.
    if (ribbon && SUCCEEDED(connection)) {
        loaded.ribbon = std::make_shared<StandInRibbon>();
        loaded.ribbonShown = loaded.ribbon->Load(addin.Get(), application);
    }
    m_loaded.push_back(loaded);
}

std::vector<StandInRibbon*> AddinLoader::ShownRibbons() const {
    std::vector<StandInRibbon*> shown;
    for (const auto& loaded : m_loaded)
        if (loaded.ribbonShown) shown.push_back(loaded.ribbon.get());
    return shown;
}

void AddinLoader::UnloadAll() {
    for (auto& loaded : m_loaded) {
        SAFEARRAY* custom = EmptyCustom();
        loaded.addin->OnBeginShutdown(&custom);
        loaded.addin->OnDisconnection(kHostShutdown, &custom);
        SafeArrayDestroy(custom);
    }
    m_loaded.clear();
}
