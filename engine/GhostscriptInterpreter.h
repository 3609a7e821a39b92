#pragma once
// The Ghostscript console interpreter one conversion runs.
#include <string>

#include "GhostscriptVersion.h"

struct GhostscriptInterpreter {
    std::wstring folder;   // ends with a backslash
    std::wstring program;  // without extension: "gswin32c" or "gswin64c"
    GhostscriptVersion version;
};
