#include "SetupProgram.h"

#include <winspool.h>

#include "AddinRegistration.h"
#include "ComApartment.h"
#include "LibraryExport.h"
#include "ModulePath.h"
#include "PowerPointBitness.h"
#include "ProcessTree.h"
#include "UniqueHandle.h"
#include "WindowsVersion.h"

namespace {

const wchar_t kPrinter[] = L"Inkharbor";

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

const wchar_t* SetupProgram::PrinterBatchFile(DWORD majorVersion) {
    return majorVersion == 6 ? L"PrinterVista.bat" : L"PrinterXP.bat";
}

// Libraries loaded on demand (by the shell, COM, the spooler) come from System32
// only, never from the folder an elevated installer was started from.
void SetupProgram::RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Windows 7 has it only with KB2533623; there, at least the current directory goes.
    const auto restrict = LibraryExport<SetDefaultDllDirectoriesFn>(GetModuleHandleW(L"kernel32.dll"),
                                                                    "SetDefaultDllDirectories");
    if (!restrict || !restrict(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

// Through the system's own cmd.exe, not the "open" verb: a per-user file
// association must not decide what runs elevated.
SetupProgram::PrinterSetup SetupProgram::RunPrinterInstallation(const std::wstring& folder, DWORD limitMs) {
    const std::wstring batchFile = folder + PrinterBatchFile(WindowsVersion::Major());
    // A longer path could not name the batch file reliably; the add-in is still registered.
    if (batchFile.size() >= MAX_PATH || GetFileAttributesW(batchFile.c_str()) == INVALID_FILE_ATTRIBUTES)
        return PrinterSetup::NotRun;
    const std::wstring system = SystemFolder();
    if (system.empty()) return PrinterSetup::NotRun;
    const std::wstring cmd = system + L"\\cmd.exe";
    // The outer quotes are cmd's to strip; the inner ones keep a path with
    // blanks or parentheses ("Program Files (x86)") in one piece.
    ProcessTree batch;
    if (!batch.Start(cmd, L"\"" + cmd + L"\" /d /c \"\"" + batchFile + L"\"\"", folder)) return PrinterSetup::NotRun;
    // A printui that waits for an answer nobody can give (an elevated, unattended
    // run) must not outlive the set-up, nor anything else the batch file left.
    const bool ended = batch.WaitForRoot(limitMs);
    batch.End();
    return ended ? PrinterSetup::Ended : PrinterSetup::TimedOut;
}

bool SetupProgram::PrinterExists(const wchar_t* name) {
    UniquePrinter printer;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ACCESS_USE};
    return OpenPrinterW(const_cast<LPWSTR>(name), printer.Put(), &access) != FALSE;
}

int SetupProgram::Run() {
    RestrictLibrarySearch();
    return Run(ModulePath::Folder() + L"\\", kPrinterInstallationLimitMs);
}

int SetupProgram::Run(const std::wstring& folder, DWORD printerLimitMs) {
    ComApartment apartment;  // registration may create COM objects
    const PrinterSetup printer = RunPrinterInstallation(folder, printerLimitMs);
    const RegistrationResult registration = AddinRegistration::Register(folder + L"Quillset.dll");
    if (registration != RegistrationResult::Registered) return static_cast<int>(registration);
    if (!PrinterExists(kPrinter))
        return printer == PrinterSetup::TimedOut ? kPrinterSetupTimedOut : kPrinterMissing;
    return PowerPointBitness::Unserved(folder + L"Quillset.dll") ? kPowerPointOfOtherBitness : 0;
}
