#pragma once
// Finds the Ghostscript console interpreter a conversion runs: the bundled 8.64
// beside the add-in library first, otherwise the newest Ghostscript 9 or later
// that its official installer registered.
#include <string>

#include "GhostscriptInterpreter.h"

class GhostscriptLocator {
public:
    // "gs\gs8.64\bin\" in the product's folder (ModulePath::ProductFolder).
    static std::wstring BundledFolder();
    // The interpreter of this module's conversions; false when there is none.
    static bool Find(GhostscriptInterpreter& found);
    // The same with the bundled interpreter looked for in `bundledFolder`.
    static bool Find(const std::wstring& bundledFolder, GhostscriptInterpreter& found);
    // The newest version key below HKLM\SOFTWARE\GPL Ghostscript or \Artifex
    // Ghostscript, in the 64- and the 32-bit registry view, whose GS_DLL names an
    // existing DLL beside gswin64c.exe or gswin32c.exe; false when there is none.
    static bool FindInstalled(GhostscriptInterpreter& found);
    // What the user is told when Find fails: both places that were looked in.
    static std::wstring NotFoundMessage();
};
