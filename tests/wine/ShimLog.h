#pragma once
// What the Ghostscript stand-in logged: one line per run in gswin32c.log (its
// arguments after the program, tab-separated) and gswin32c.cwd (the folder it
// was started in), with backslash, tab, CR and LF escaped.
#include <string>
#include <vector>

class ShimLog {
public:
    // The last line of `log`, split at tabs and unescaped.
    static std::vector<std::string> LastRun(const std::wstring& log);
    static bool IsPlainAscii(const std::string& text);
};
