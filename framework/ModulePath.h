#pragma once
// Paths of the module (DLL or EXE) that contains this code, not of the host process.
#include <windows.h>

#include <string>

class ModulePath {
public:
    // This module's handle, where its resources are.
    static HINSTANCE Instance();
    // Full path of this module; no length limit.
    static std::wstring File();
    // Folder of this module, without a trailing backslash.
    static std::wstring Folder();
    // The installation's folder: this module's own, or the one above it for the
    // 32-bit library that the x64 package carries in "x86\" beside its Brenmoor.exe.
    static std::wstring ProductFolder();
    // The same for a module in `folder` (no trailing backslash).
    static std::wstring ProductFolderOf(const std::wstring& folder);
    // File name without folder and extension.
    static std::wstring BaseName();
};
