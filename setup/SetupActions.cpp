#include "SetupActions.h"

#include <winspool.h>

#include "AddinRegistration.h"
#include "PowerPointBitness.h"
#include "ProcessTree.h"
#include "SetupProgram.h"
#include "UniqueHandle.h"

namespace {

const wchar_t kPrinter[] = L"Inkharbor";
// What this installation did beyond its files; removal reads it and takes it away.
const wchar_t kStateKey[] = L"Software\\Quillset";
const wchar_t kPrinterAdded[] = L"PrinterAdded";
// Brenmoor.exe gives the batch file two minutes; registration comes after that.
const DWORD kSetupLimitMs = 5 * 60 * 1000;
const wchar_t kMachineClass[] =
    L"Software\\Classes\\CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}\\InprocServer32";
const wchar_t kMachineAddin[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\Quillset.PowerPointAdd";

}  // namespace

// Ended with its whole tree at the limit, before the failure is reported: the
// rollback that follows must not race a registration still on its way.
bool SetupActions::RunSetupProgram(const std::wstring& folder, DWORD limitMs, DWORD& exitCode) {
    const std::wstring program = folder + L"Brenmoor.exe";
    ProcessTree tree;
    if (!tree.Start(program, L"\"" + program + L"\"", folder)) return false;
    if (!tree.WaitForRoot(limitMs)) {
        tree.End();
        return false;
    }
    exitCode = tree.RootExitCode();
    return true;
}

void SetupActions::MarkPrinterAdded() {
    const DWORD one = 1;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kStateKey, kPrinterAdded, REG_DWORD, &one, sizeof one);
}

bool SetupActions::PrinterWasAdded() {
    DWORD value = 0, size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, kStateKey, kPrinterAdded, RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS &&
           value == 1;
}

// Brenmoor.exe's per-user fallback would have registered the add-in for the
// installer's own account only (here: the system's), which no user sees.
bool SetupActions::RegisteredForEveryUser(const std::wstring& folder) {
    wchar_t server[MAX_PATH] = {};
    DWORD size = sizeof server, loadBehavior = 0, loadSize = sizeof loadBehavior;
    return RegGetValueW(HKEY_LOCAL_MACHINE, kMachineClass, nullptr, RRF_RT_REG_SZ, nullptr, server, &size) ==
               ERROR_SUCCESS &&
           CompareStringOrdinal(server, -1, (folder + L"Quillset.dll").c_str(), -1, TRUE) == CSTR_EQUAL &&
           RegGetValueW(HKEY_LOCAL_MACHINE, kMachineAddin, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr,
                        &loadBehavior, &loadSize) == ERROR_SUCCESS &&
           loadBehavior == 3;
}

bool SetupActions::DeletePrinter(const wchar_t* name) {
    UniquePrinter printer;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    return OpenPrinterW(const_cast<LPWSTR>(name), printer.Put(), &access) && ::DeletePrinter(printer.Get());
}

UINT SetupActions::Install(const InstallerSession& session) {
    const std::wstring folder = session.ActionData();
    const bool printerBefore = SetupProgram::PrinterExists(kPrinter);
    DWORD exitCode = 0;
    if (folder.empty() || !RunSetupProgram(folder, kSetupLimitMs, exitCode)) {
        session.Log(L"Brenmoor.exe could not be run to its end in \"" + folder + L"\"");
        return ERROR_INSTALL_FAILURE;
    }
    if (!printerBefore && SetupProgram::PrinterExists(kPrinter)) MarkPrinterAdded();
    const bool printerMissing = exitCode == static_cast<DWORD>(SetupProgram::kPrinterMissing) ||
                                exitCode == static_cast<DWORD>(SetupProgram::kPrinterSetupTimedOut);
    const bool otherBitness = exitCode == static_cast<DWORD>(SetupProgram::kPowerPointOfOtherBitness);
    if ((exitCode == 0 || otherBitness || printerMissing) && !RegisteredForEveryUser(folder)) {
        session.Log(
            L"Brenmoor.exe registered the add-in for the installing account only, not for every user");
        return ERROR_INSTALL_FAILURE;
    }
    if (exitCode == 0 || otherBitness) {
        session.Log(L"Brenmoor.exe installed the printer and registered the add-in");
        WarnOfOtherBitness(session, folder);
        return ERROR_SUCCESS;
    }
    if (printerMissing) {
        session.Log(L"Brenmoor.exe registered the add-in, but the printer \"Inkharbor\" is missing (exit code " +
                    std::to_wstring(exitCode) + L")");
        // The add-in works once the printer is there: the installation stands,
        // and whoever installs is told how to get the printer.
        session.Warn(PrinterMissingMessage(folder, exitCode));
        WarnOfOtherBitness(session, folder);
        return ERROR_SUCCESS;
    }
    session.Log(L"Brenmoor.exe did not register the add-in (exit code " + std::to_wstring(exitCode) + L")");
    return ERROR_INSTALL_FAILURE;
}

// The installation stands (the user may change Office later), but it is not
// reported as a plain success.
void SetupActions::WarnOfOtherBitness(const InstallerSession& session, const std::wstring& folder) {
    const int bits = PowerPointBitness::Unserved(folder + L"Quillset.dll");
    if (!bits) return;
    session.Warn(PowerPointBitness::Message(bits));  // logged as well
}

std::wstring SetupActions::PrinterMissingMessage(const std::wstring& folder, DWORD exitCode) {
    const std::wstring cause = exitCode == static_cast<DWORD>(SetupProgram::kPrinterSetupTimedOut)
                                   ? L"its set-up did not finish within two minutes and was stopped"
                                   : L"it could not be installed";
    return L"Quillset is installed, but the printer \"Inkharbor\" is missing (" + cause +
           L"), so presentations cannot be converted yet. To repair it, select Quillset in Programs and "
           L"Features and choose Repair, or run Brenmoor.exe in " + folder + L" as administrator.";
}

UINT SetupActions::Remove(const InstallerSession& session) {
    const std::wstring folder = session.ActionData();
    const HRESULT unregistered = AddinRegistration::Unregister(folder + L"Quillset.dll");
    wchar_t code[16] = {};
    wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(unregistered));
    session.Log(std::wstring(L"add-in unregistered: ") + code);
    if (PrinterWasAdded()) session.Log(DeletePrinter(kPrinter) ? L"printer removed" : L"printer not removed");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kStateKey);
    // Removal goes on whatever failed: the files must not stay behind for it.
    return ERROR_SUCCESS;
}
