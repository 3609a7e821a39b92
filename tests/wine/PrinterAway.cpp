#include "PrinterAway.h"

#include <winspool.h>

PrinterAway::PrinterAway(const wchar_t* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &access)) return;
    DWORD size = 0;
    GetPrinterW(printer, 2, nullptr, 0, &size);
    m_info.assign(size, 0);
    if (GetPrinterW(printer, 2, m_info.data(), size, &size)) m_removed = DeletePrinter(printer);
    ClosePrinter(printer);
}

bool PrinterAway::Restore() {
    if (!m_removed) return true;
    HANDLE printer = AddPrinterW(nullptr, 2, m_info.data());
    // One of that name installed meanwhile (by a printer installer under test) goes first.
    if (!printer && GetLastError() == ERROR_PRINTER_ALREADY_EXISTS &&
        Delete(reinterpret_cast<PRINTER_INFO_2W*>(m_info.data())->pPrinterName))
        printer = AddPrinterW(nullptr, 2, m_info.data());
    if (!printer) return false;
    ClosePrinter(printer);
    m_removed = false;
    return true;
}

bool PrinterAway::Exists(const wchar_t* name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, nullptr)) return false;
    ClosePrinter(printer);
    return true;
}

bool PrinterAway::Delete(const wchar_t* name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, &access)) return false;
    const bool deleted = DeletePrinter(printer) != FALSE;
    ClosePrinter(printer);
    return deleted;
}
