#pragma once
// What is on disk at a conversion's output path.
#include <windows.h>

#include <string>

class OutputFile {
public:
    // A file search for exactly `path`; a path longer than 259 characters is never found.
    static bool Exists(const std::wstring& path);
    // The file was last written at or after `since` and starts like a PDF file.
    static bool IsPdfWrittenSince(const std::wstring& path, const FILETIME& since);
};
