#include "AsciiPath.h"

#include <windows.h>

#include "GhostscriptCommandLine.h"

std::wstring AsciiPath::ShortForm(const std::wstring& path) {
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) return {};
    shortPath.resize(length);
    return shortPath;
}

// A file that does not exist yet (the PDF) has no short name: its folder's is taken.
std::wstring AsciiPath::For(const std::wstring& path) {
    if (GhostscriptCommandLine::IsPlainAscii(path)) return path;
    const std::wstring shortPath = ShortForm(path);
    if (!shortPath.empty() && GhostscriptCommandLine::IsPlainAscii(shortPath)) return shortPath;
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return {};
    const std::wstring name = path.substr(slash);
    if (!GhostscriptCommandLine::IsPlainAscii(name)) return {};
    const std::wstring folder = For(path.substr(0, slash));
    return folder.empty() ? std::wstring() : folder + name;
}
