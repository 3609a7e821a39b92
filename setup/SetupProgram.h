#pragma once
// What one run of the setup program does: start the printer batch file that
// ships beside it, give it time, then register the add-in library from the
// same folder. Shows nothing; the exit code says whether the add-in is registered.
#include <windows.h>

#include <string>

class SetupProgram {
public:
    // Runs the whole setup; returns the process exit code (0: add-in registered).
    static int Run();
    // The batch file that installs the printer on this Windows major version.
    static const wchar_t* PrinterBatchFile(DWORD majorVersion);

private:
    static void StartPrinterInstallation(const std::wstring& folder);
};
