#pragma once
// The small PostScript file that carries the distiller parameters and the
// document information to Ghostscript, written in the system's ANSI code page.
#include <string>

class ParameterFile {
public:
    // "C:\pdfmarks": one fixed place, overwritten by every conversion.
    static const wchar_t* const kPath;

    // Creates or truncates `path` and writes `text` converted to CP_ACP.
    // False when the file could not be created or fully written.
    static bool Write(const std::wstring& path, const std::wstring& text);

    static std::string ToAnsi(const std::wstring& text);
};
