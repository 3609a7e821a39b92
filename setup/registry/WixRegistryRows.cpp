#include "WixRegistryRows.h"

#include "MemoryRegistry.h"
#include "Registrar.h"
#include "ScriptReplacements.h"

namespace {

std::wstring XmlEscaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

const wchar_t* RootAttribute(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return L"HKCR";
        case RegistryRoot::CurrentUser:
            return L"HKCU";
        case RegistryRoot::LocalMachine:
            return L"HKLM";
        default:
            return L"HKU";
    }
}

}  // namespace

// Windows Installer reads [ and ] in a formatted column; [\[] and [\]] are the brackets themselves.
std::wstring WixRegistryRows::Literal(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'[')
            out += L"[\\[]";
        else if (c == L']')
            out += L"[\\]]";
        else
            out += c;
    }
    return XmlEscaped(out);
}

// Stands in for a replacement while the script runs: private-use characters
// that no script holds.
std::wstring WixRegistryRows::Marker(std::size_t index) {
    return std::wstring(1, wchar_t(0xE000)) + std::to_wstring(index) + wchar_t(0xE001);
}

std::wstring WixRegistryRows::Attribute(
    const std::wstring& text, const std::vector<std::pair<std::wstring, std::wstring>>& replacements) {
    std::wstring out;
    std::size_t done = 0;
    for (std::size_t at = text.find(wchar_t(0xE000)); at != std::wstring::npos;
         at = text.find(wchar_t(0xE000), done)) {
        const std::size_t end = text.find(wchar_t(0xE001), at);
        out += Literal(text.substr(done, at - done));
        out += XmlEscaped(replacements[std::stoul(text.substr(at + 1, end - at - 1))].second);
        done = end + 1;
    }
    return out + Literal(text.substr(done));
}

bool WixRegistryRows::Build(const std::vector<std::wstring>& scripts,
                            const std::vector<std::pair<std::wstring, std::wstring>>& replacements,
                            std::wstring& include, std::wstring& error) {
    ScriptReplacements markers;
    // Plain values (a root such as HKLM among them) go in as they are.
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        const std::wstring& value = replacements[i].second;
        const bool formatted = value.find_first_of(L"[]") != std::wstring::npos;
        markers.Add(replacements[i].first, formatted ? Marker(i) : value);
    }
    MemoryRegistry registry;
    Registrar registrar(registry);
    for (const std::wstring& script : scripts) {
        const RegistrarStatus status = registrar.Register(script, markers);
        if (!status.IsOk()) {
            error = status.Message();
            return false;
        }
    }
    include =
        L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Generated from the registration scripts. "
        L"-->\n<Include>\n";
    registry.VisitValues(
        [&](const RegistryKeyPath& key, const std::wstring& name, const MemoryRegistry::Value& value) {
            include += std::wstring(L"  <RegistryValue Root=\"") + RootAttribute(key.Root()) + L"\" Key=\"" +
                       Attribute(key.Subkey(), replacements) + L"\"" +
                       (name.empty() ? L"" : L" Name=\"" + Attribute(name, replacements) + L"\"") +
                       (value.isDword ? L" Type=\"integer\" Value=\"" + std::to_wstring(value.number)
                                      : L" Type=\"string\" Value=\"" + Attribute(value.text, replacements)) +
                       L"\"/>\n";
        });
    include += L"</Include>\n";
    return true;
}
