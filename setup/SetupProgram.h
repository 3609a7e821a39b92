#pragma once
// What one run of the setup program does: run the printer batch file that
// ships beside it to its end, then register the add-in library from the same
// folder. Shows nothing; the exit code says whether the add-in is registered
// and whether the printer is there.
#include <windows.h>

#include <string>

class SetupProgram {
public:
    // Registered, and the printer "Inkharbor" is missing after the batch file:
    // every conversion would fail, so the installer must hear of it.
    static constexpr int kPrinterMissing = 4;
    // Registered, the printer is missing, and the batch file was ended at the
    // limit with everything it had started: a printui that hung, most likely.
    static constexpr int kPrinterSetupTimedOut = 5;
    // Registered and the printer is there, but the PowerPoint installed is of
    // the other bitness and finds no library of its own registered: no button.
    static constexpr int kPowerPointOfOtherBitness = 6;
    // The batch file is given this long; a hung one must not hold the installation.
    static const DWORD kPrinterInstallationLimitMs = 2 * 60 * 1000;

    // Runs the whole setup; returns the process exit code (0: add-in registered,
    // printer present; see RegistrationResult, kPrinterMissing, kPrinterSetupTimedOut,
    // kPowerPointOfOtherBitness).
    static int Run();
    // The same for the program's folder `folder` (ending in a backslash), the
    // batch file given `printerLimitMs`.
    static int Run(const std::wstring& folder, DWORD printerLimitMs);
    // The batch file that installs the printer on this Windows major version.
    static const wchar_t* PrinterBatchFile(DWORD majorVersion);
    // Whether the spooler knows a printer of that name.
    static bool PrinterExists(const wchar_t* name);

private:
    enum class PrinterSetup { NotRun, Ended, TimedOut };
    static void RestrictLibrarySearch();
    static PrinterSetup RunPrinterInstallation(const std::wstring& folder, DWORD limitMs);
};
