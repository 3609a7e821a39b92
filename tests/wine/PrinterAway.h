#pragma once
// Takes a printer away for one test and puts it back as it was (the test bed's
// printers are shared: hold the CTest lock "inkharbor" meanwhile).
#include <windows.h>

#include <vector>

class PrinterAway {
public:
    explicit PrinterAway(const wchar_t* name);
    ~PrinterAway() { Restore(); }
    PrinterAway(const PrinterAway&) = delete;
    PrinterAway& operator=(const PrinterAway&) = delete;

    bool Removed() const { return m_removed; }
    // Puts it back now, in place of one of that name installed meanwhile; the
    // destructor then does nothing.
    bool Restore();
    static bool Exists(const wchar_t* name);
    static bool Delete(const wchar_t* name);

private:
    std::vector<BYTE> m_info;
    bool m_removed = false;
};
