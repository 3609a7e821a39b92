#pragma once
// The installer package's custom actions, run deferred and elevated:
//  - Install runs Brenmoor.exe from the installation folder. A registration that
//    failed, or reached the installing account only, fails the installation, which
//    the installer then rolls back; a missing printer is shown to whoever
//    installs (written to the log when nobody watches), with the way to repair
//    it, as the add-in is registered and the printer can be installed later; so
//    is a PowerPoint of the other bitness, which would not see the add-in.
//    Run again by a repair, and as the rollback of Remove.
//  - Remove (on removal, and on rollback) unregisters the library machine-wide
//    and removes the printer "Inkharbor" if this installation added it.
#include <string>

#include "InstallerSession.h"

class SetupActions {
public:
    static UINT Install(const InstallerSession& session);
    static UINT Remove(const InstallerSession& session);
    // Brenmoor.exe in `folder`, in a job object: false when it did not end within
    // `limitMs`, and then neither it nor anything it started runs on.
    static bool RunSetupProgram(const std::wstring& folder, DWORD limitMs, DWORD& exitCode);

private:
    static void MarkPrinterAdded();
    static bool PrinterWasAdded();
    static bool RegisteredForEveryUser(const std::wstring& folder);
    static bool DeletePrinter(const wchar_t* name);
    static std::wstring PrinterMissingMessage(const std::wstring& folder, DWORD exitCode);
    static void WarnOfOtherBitness(const InstallerSession& session, const std::wstring& folder);
};
