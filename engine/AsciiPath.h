#pragma once
// A path as an ANSI program can be given it: gswin32c 8.64 gets its command line
// converted to the ANSI code page with best-fit mapping, where a full-width
// quotation mark becomes '"' and a Chinese letter '?'.
#include <string>

class AsciiPath {
public:
    // `path` itself when it is plain ASCII; otherwise the same place through
    // short (8.3) names of its existing folders and file; empty when there is
    // no such form (short names are switched off on the volume).
    static std::wstring For(const std::wstring& path);

private:
    static std::wstring ShortForm(const std::wstring& path);
};
