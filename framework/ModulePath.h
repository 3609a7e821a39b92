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
    // File name without folder and extension.
    static std::wstring BaseName();
};
