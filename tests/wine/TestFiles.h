#pragma once
// Files and folders for tests under Wine.
#include <string>

class TestFiles {
public:
    // A source-tree file by its path below the source folder, as a Windows path.
    static std::wstring Source(const std::wstring& relative);
    // A file of this build tree by its path below the tree's top, as a Windows path.
    static std::wstring Built(const std::wstring& relative);
    // The printui stand-in of the machine's own bitness (the x64 build's on
    // 64-bit Windows, whichever build this is), as a Windows path.
    static std::wstring NativePrintUI();
    // Where this process's System32 programs run from: SysWOW64 for a 32-bit
    // process on 64-bit Windows, as Windows reports their images.
    static std::wstring ImageSystemFolder();
    // The machine's own System32, as a path this process reaches it by
    // (Sysnative for a 32-bit process on 64-bit Windows).
    static std::wstring NativeSystemFolder();
    // Whether this is a 32-bit process on 64-bit Windows.
    static bool Wow64();
    // A fresh empty folder below the process's first temporary folder (not the
    // one a ScratchTemp points at); ends with a backslash.
    static std::wstring NewFolder(const std::wstring& name);
    static bool Exists(const std::wstring& path);
    static std::string Read(const std::wstring& path);
    static bool Write(const std::wstring& path, const std::string& bytes);
};
