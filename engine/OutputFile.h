#pragma once
// What is on disk at a conversion's output path, and how the PDF gets there.
#include <windows.h>

#include <string>

class OutputFile {
public:
    // A file search for exactly `path`; a path longer than 259 characters is never found.
    static bool Exists(const std::wstring& path);
    // The file starts like a PDF file.
    static bool IsPdf(const std::wstring& path);
    // Moves the finished PDF `made` to `path`, also across volumes. A file at
    // `path` is replaced only with `replace` (the user agreed to it); without,
    // or when `made` is no PDF, nothing at `path` changes.
    static bool Deliver(const std::wstring& made, const std::wstring& path, bool replace);
};
