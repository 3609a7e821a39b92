#pragma once
// The small PostScript file that carries the distiller parameters and the
// document information to Ghostscript, written in the system's ANSI code page.
#include <string>

class ParameterFile {
public:
    // The file's name in a conversion's private folder.
    static const wchar_t* const kName;

    // Creates `path` anew and writes `text` converted to CP_ACP. False when the
    // file already exists (it is never opened then: its content is not ours),
    // or could not be created or fully written.
    static bool Write(const std::wstring& path, const std::wstring& text);

    static std::string ToAnsi(const std::wstring& text);
};
