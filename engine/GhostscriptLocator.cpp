#include "GhostscriptLocator.h"

#include <windows.h>

#include "ModulePath.h"
#include "UniqueHandle.h"

namespace {

const wchar_t* const kPublishers[] = {L"SOFTWARE\\GPL Ghostscript", L"SOFTWARE\\Artifex Ghostscript"};
// A 32-bit add-in may use a 64-bit Ghostscript and the other way round.
const REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
// The console interpreters an installation may hold, the native one first.
const wchar_t* const kConsolePrograms[] = {L"gswin64c", L"gswin32c"};

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring DllPath(HKEY versionKey) {
    DWORD bytes = 0;
    const DWORD types = RRF_RT_REG_SZ;  // a REG_EXPAND_SZ value comes expanded
    if (RegGetValueW(versionKey, nullptr, L"GS_DLL", types, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return {};
    std::wstring path(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    if (RegGetValueW(versionKey, nullptr, L"GS_DLL", types, nullptr, path.data(), &bytes) != ERROR_SUCCESS) return {};
    path.resize(wcsnlen(path.c_str(), path.size()));
    return path;
}

// The installation a version key describes, when its DLL and a console
// interpreter beside it exist.
bool Installation(HKEY publisherKey, REGSAM view, const std::wstring& version, GhostscriptInterpreter& found) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(publisherKey, version.c_str(), 0, KEY_QUERY_VALUE | view, key.Put()) != ERROR_SUCCESS)
        return false;
    const std::wstring dll = DllPath(key.Get());
    const std::size_t slash = dll.find_last_of(L'\\');
    if (slash == std::wstring::npos || !IsFile(dll)) return false;
    const std::wstring folder = dll.substr(0, slash + 1);
    for (const wchar_t* program : kConsolePrograms) {
        if (!IsFile(folder + program + L".exe")) continue;
        found = {folder, program, GhostscriptVersion(version)};
        return true;
    }
    return false;
}

std::wstring SubkeyName(HKEY key, DWORD index) {
    wchar_t name[256];  // the longest registry key name, and its terminator
    DWORD length = ARRAYSIZE(name);
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return {};
    return std::wstring(name, length);
}

// Keeps in `best` the newest installation of Ghostscript 9 or later below one publisher's key.
void CollectNewest(const wchar_t* publisher, REGSAM view, GhostscriptInterpreter& best, bool& any) {
    UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, publisher, 0, KEY_ENUMERATE_SUB_KEYS | view, key.Put()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        const std::wstring name = SubkeyName(key.Get(), index);
        if (name.empty()) return;
        const GhostscriptVersion version(name);
        if (!version.AtLeast(9, 0) || (any && !(best.version < version))) continue;
        GhostscriptInterpreter candidate;
        if (!Installation(key.Get(), view, name, candidate)) continue;
        best = candidate;
        any = true;
    }
}

}  // namespace

std::wstring GhostscriptLocator::BundledFolder() {
    return ModulePath::ProductFolder() + L"\\gs\\gs8.64\\bin\\";
}

bool GhostscriptLocator::Find(GhostscriptInterpreter& found) {
    return Find(BundledFolder(), found);
}

// A current installed release, which its owner keeps patched, before the
// bundled 8.64 (known -dSAFER escapes); an older 9 only when 8.64 is missing.
bool GhostscriptLocator::Find(const std::wstring& bundledFolder, GhostscriptInterpreter& found) {
    GhostscriptInterpreter installed;
    const bool anyInstalled = FindInstalled(installed);
    if (anyInstalled && installed.version.AtLeast(9, 50)) {
        found = installed;
        return true;
    }
    if (IsFile(bundledFolder + L"gswin32c.exe")) {
        found = {bundledFolder, L"gswin32c", GhostscriptVersion(L"8.64")};
        return true;
    }
    if (anyInstalled) found = installed;
    return anyInstalled;
}

bool GhostscriptLocator::FindInstalled(GhostscriptInterpreter& found) {
    bool any = false;
    for (REGSAM view : kViews)
        for (const wchar_t* publisher : kPublishers) CollectNewest(publisher, view, found, any);
    return any;
}

std::wstring GhostscriptLocator::NotFoundMessage() {
    return L"Ghostscript was not found. It is looked for in two places:\n"
           L"- the folder beside the add-in: " +
           BundledFolder() +
           L"gswin32c.exe (Ghostscript 8.64)\n"
           L"- an installed Ghostscript 9 or later (from its official installer)\n"
           L"Install Ghostscript and convert again.";
}
