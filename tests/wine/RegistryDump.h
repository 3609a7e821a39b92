#pragma once
// A whole registry hive as text, one line per key and per value (name, type,
// bytes in hex), to compare the registry before and after a step. Both registry
// views, whatever the bitness of the program that dumps.
#include <windows.h>

#include <string>
#include <vector>

class RegistryDump {
public:
    static std::vector<std::wstring> Hive(HKEY root, const wchar_t* name);
    // The lines only one of the two dumps has ("- " before, "+ " after), for a failure message.
    static std::string Difference(const std::vector<std::wstring>& before,
                                  const std::vector<std::wstring>& after);

private:
    static void DumpKey(HKEY key, const std::wstring& path, std::vector<std::wstring>& lines);
};
