#include "RegistryDump.h"

#include <set>

namespace {

// Wine's display driver stamps the time into its display devices' DriverDateData
// whenever a graphical process starts on the virtual desktop: not a write of ours.
bool Volatile(const wchar_t* valueName) {
    return std::wstring(valueName) == L"DriverDateData";
}

}  // namespace

void RegistryDump::DumpKey(HKEY key, const std::wstring& path, std::vector<std::wstring>& lines) {
    lines.push_back(path);
    std::vector<BYTE> data;
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        data.assign(size, 0);
        nameLength = 16384;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size);
        if (Volatile(name)) continue;
        std::wstring line =
            path + L" @" + std::wstring(name, nameLength) + L" " + std::to_wstring(type) + L" ";
        for (DWORD b = 0; b < size; ++b)
            line += L"0123456789abcdef"[data[b] >> 4], line += L"0123456789abcdef"[data[b] & 15];
        lines.push_back(line);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring child(name, nameLength);
        HKEY subkey = nullptr;
        // The 64-bit view, which holds the 32-bit one under Wow6432Node: a 32-bit
        // program on 64-bit Windows dumps both views, as a 64-bit one does.
        if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &subkey) != ERROR_SUCCESS) {
            lines.push_back(path + L"\\" + child + L" <unreadable>");
            continue;
        }
        DumpKey(subkey, path + L"\\" + child, lines);
        RegCloseKey(subkey);
    }
}

std::vector<std::wstring> RegistryDump::Hive(HKEY root, const wchar_t* name) {
    std::vector<std::wstring> lines;
    DumpKey(root, name, lines);
    return lines;
}

std::string RegistryDump::Difference(const std::vector<std::wstring>& before,
                                     const std::vector<std::wstring>& after) {
    const std::set<std::wstring> old(before.begin(), before.end()), now(after.begin(), after.end());
    std::string text;
    for (const auto& line : old)
        if (!now.count(line)) text += "- " + std::string(line.begin(), line.end()) + "\n";
    for (const auto& line : now)
        if (!old.count(line)) text += "+ " + std::string(line.begin(), line.end()) + "\n";
    return text;
}
