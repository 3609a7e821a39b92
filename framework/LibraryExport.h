#pragma once
// A function exported by a loaded library, typed; null when it has no such export.
#include <windows.h>

template <typename Fn>
Fn LibraryExport(HMODULE library, const char* name) {
    // Through void*: a FARPROC does not convert to another function type directly.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
