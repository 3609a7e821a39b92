#pragma once
// Which PowerPoint this computer has, judged by the executable that Windows
// records for it (App Paths), read as a PE image; and whether the add-in is
// registered where that PowerPoint looks for it. A 64-bit PowerPoint reads the
// 64-bit registry view and loads 64-bit libraries, a 32-bit one the 32-bit view.
#include <windows.h>

#include <string>
#include <vector>

class PowerPointBitness {
public:
    // 32 or 64 for a PE image of x86, x64 or ARM64 code; 0 for anything else.
    static int OfImage(const std::wstring& path);
    // The bitness of each PowerPoint executable that App Paths names (the
    // machine's views and the user's), without repeats.
    static std::vector<int> Installed();
    // The bitness of an installed PowerPoint that finds no library of its own
    // bitness registered for the add-in's class, while `library` (just
    // registered) is of the other; 0 when every PowerPoint finds one, or none is known.
    static int Unserved(const std::wstring& library);
    // What the user is told then.
    static std::wstring Message(int powerPointBits);

private:
    static int Registered(int bits);
    static std::wstring ReadPath(HKEY root, const wchar_t* key, REGSAM view);
};
