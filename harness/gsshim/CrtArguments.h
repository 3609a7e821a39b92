#pragma once
// The argument vector that a C program built with Microsoft's C runtime gets
// from its ANSI command line (GetCommandLineA), as Ghostscript 8.64 does.
#include <string>
#include <vector>

class CrtArguments {
public:
    // argv[0] is the program: up to the next quote when it starts with one,
    // else up to the first blank or tab, without escapes. Then 2n backslashes
    // before a quote give n and the quote opens or closes a quoted part; 2n+1
    // give n and a literal quote; "" inside a quoted part is a literal quote;
    // other backslashes are literal.
    static std::vector<std::string> Split(const std::string& commandLine);

private:
    static std::string ProgramName(const std::string& line, std::size_t& at);
    static std::string NextArgument(const std::string& line, std::size_t& at);
};
