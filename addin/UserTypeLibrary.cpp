#include "UserTypeLibrary.h"

#include <windows.h>

#include "AutomationValues.h"
#include "ComRef.h"

namespace {

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// The library's attributes, copied, so that nothing is left to release.
HRESULT Attributes(ITypeLib* library, TLIBATTR& copy) {
    TLIBATTR* attributes = nullptr;
    HRESULT hr = library->GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return S_OK;
}

// "1.0": the version as the type library keys name it (hexadecimal).
std::wstring VersionText(const TLIBATTR& attributes) {
    wchar_t version[32] = {};
    wsprintfW(version, L"%x.%x", attributes.wMajorVerNum, attributes.wMinorVerNum);
    return version;
}

}  // namespace

std::wstring UserTypeLibrary::VersionKey(const TLIBATTR& attributes) {
    return L"TypeLib\\" + GuidText(attributes.guid) + L"\\" + VersionText(attributes);
}

HRESULT UserTypeLibrary::SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return HRESULT_FROM_WIN32(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

HRESULT UserTypeLibrary::Register(ITypeLib* library, const std::wstring& path) {
    TLIBATTR attributes = {};
    HRESULT hr = Attributes(library, attributes);
    if (FAILED(hr)) return hr;
    const std::wstring key = VersionKey(attributes);
    UniqueBstr description;
    library->GetDocumentation(-1, nullptr, description.Put(), nullptr, nullptr);
    wchar_t locale[16] = {};
    wsprintfW(locale, L"%lx", static_cast<unsigned long>(attributes.lcid));
    const wchar_t* platform = attributes.syskind == SYS_WIN64 ? L"win64" : L"win32";
    hr = SetText(key, nullptr, description.Text());
    if (SUCCEEDED(hr)) hr = SetText(key + L"\\" + locale + L"\\" + platform, nullptr, path);
    if (SUCCEEDED(hr)) hr = SetText(key + L"\\FLAGS", nullptr, L"0");
    if (SUCCEEDED(hr)) hr = SetText(key + L"\\HELPDIR", nullptr, path.substr(0, path.rfind(L'\\')));
    return SUCCEEDED(hr) ? RegisterInterfaces(library, attributes, true) : hr;
}

HRESULT UserTypeLibrary::Unregister(ITypeLib* library) {
    TLIBATTR attributes = {};
    HRESULT hr = Attributes(library, attributes);
    if (FAILED(hr)) return hr;
    RegisterInterfaces(library, attributes, false);
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, VersionKey(attributes).c_str());
    // The library's key goes with its last version.
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (L"TypeLib\\" + GuidText(attributes.guid)).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT UserTypeLibrary::RegisterInterfaces(ITypeLib* library, const TLIBATTR& attributes, bool registering) {
    const std::wstring version = VersionText(attributes);
    for (UINT i = 0, count = library->GetTypeInfoCount(); i < count; ++i) {
        TYPEKIND kind = TKIND_MAX;
        ComRef<ITypeInfo> info;
        if (FAILED(library->GetTypeInfoType(i, &kind)) ||
            (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) ||
            FAILED(library->GetTypeInfo(i, info.Put())))
            continue;
        TYPEATTR* type = nullptr;
        if (FAILED(info->GetTypeAttr(&type))) continue;
        const std::wstring key = L"Interface\\" + GuidText(type->guid);
        info->ReleaseTypeAttr(type);
        HRESULT hr = S_OK;
        if (!registering) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, (key + L"\\TypeLib").c_str());
            continue;
        }
        UniqueBstr name;
        info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr);
        hr = SetText(key, nullptr, name.Text());
        if (SUCCEEDED(hr)) hr = SetText(key + L"\\TypeLib", nullptr, GuidText(attributes.guid));
        if (SUCCEEDED(hr)) hr = SetText(key + L"\\TypeLib", L"Version", version);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}
