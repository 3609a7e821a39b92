#pragma once
// Runs a Unix shell command from a test under Wine (qpdf, pdfinfo, ...) and
// returns its exit status and combined output.
#include <string>

struct UnixResult {
    int status = -1;
    std::string output;
};

class UnixShell {
public:
    static UnixResult Run(const std::string& command);
    // A Windows path as a single-quoted shell word of its Unix path.
    static std::string Quote(const std::wstring& windowsPath);
    static std::string QuoteText(const std::string& text);
};
