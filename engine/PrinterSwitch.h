#pragma once
// The user's default printer, switched for the printing of one conversion and
// put back as soon as that is done, or on any way out. Every failure has been
// shown to the user in an application message box.
#include <string>

class PrinterSwitch {
public:
    // Reads the user's default printer and makes `printer` the default. Nothing
    // is switched when the default cannot be read (it could not be put back) or
    // `printer` cannot be made the default (it is not installed).
    explicit PrinterSwitch(const std::wstring& printer);
    ~PrinterSwitch() { Restore(); }
    PrinterSwitch(const PrinterSwitch&) = delete;
    PrinterSwitch& operator=(const PrinterSwitch&) = delete;

    bool Switched() const { return m_switched; }
    // Puts the user's default back (none if there was none) and tells running
    // programs; reports a failure. Does nothing once restored or when nothing
    // was switched.
    void Restore();

private:
    std::wstring m_saved;
    bool m_switched = false;
};
