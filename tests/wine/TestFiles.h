#pragma once
// Files and folders for tests under Wine.
#include <string>

class TestFiles {
public:
    // A source-tree file by its path below the source folder, as a Windows path.
    static std::wstring Source(const std::wstring& relative);
    // A file of this build tree by its path below the tree's top, as a Windows path.
    static std::wstring Built(const std::wstring& relative);
    // A fresh empty folder below the process's first temporary folder (not the
    // one a ScratchTemp points at); ends with a backslash.
    static std::wstring NewFolder(const std::wstring& name);
    static bool Exists(const std::wstring& path);
    static std::string Read(const std::wstring& path);
    static bool Write(const std::wstring& path, const std::string& bytes);
};
