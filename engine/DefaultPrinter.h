#pragma once
// The user's default printer, as the spooler keeps it.
#include <string>

class DefaultPrinter {
public:
    // Empty when the user has no default printer.
    static std::wstring Get();
    static bool Set(const std::wstring& name);
    // Leaves the user with no default printer, as before a first one was chosen.
    static bool Clear();
};
