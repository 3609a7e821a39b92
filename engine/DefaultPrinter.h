#pragma once
// The user's default printer, as the spooler keeps it.
#include <string>

class DefaultPrinter {
public:
    // Empty when the user has no default printer or it cannot be read.
    static std::wstring Get();
    // False when the spooler could not say; `name` is empty when the user has none.
    static bool Read(std::wstring& name);
    static bool Set(const std::wstring& name);
    // Leaves the user with no default printer, as before a first one was chosen.
    static bool Clear();
    // Tells running programs that the default printer changed, as the control panel does.
    static void Announce();
};
