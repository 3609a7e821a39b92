#include "SetupProgram.h"

#include <shellapi.h>

#include "AddinRegistration.h"
#include "ComApartment.h"
#include "ModulePath.h"
#include "WindowsVersion.h"

namespace {

// The printer installation is not watched; this is how long it is given
// before the add-in is registered.
const DWORD kPrinterInstallationMs = 10000;

}  // namespace

const wchar_t* SetupProgram::PrinterBatchFile(DWORD majorVersion) {
    return majorVersion == 6 ? L"PrinterVista.bat" : L"PrinterXP.bat";
}

void SetupProgram::StartPrinterInstallation(const std::wstring& folder) {
    const std::wstring batchFile = folder + PrinterBatchFile(WindowsVersion::Major());
    // A longer path could not name the batch file reliably; the add-in is still registered.
    if (batchFile.size() >= MAX_PATH) return;
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI;  // a missing batch file must not put up a message
    execute.lpVerb = L"open";
    execute.lpFile = batchFile.c_str();
    execute.nShow = SW_HIDE;
    ShellExecuteExW(&execute);
}

int SetupProgram::Run() {
    const std::wstring folder = ModulePath::Folder() + L"\\";
    ComApartment apartment;  // the shell may hand "open" to COM objects, as may registration
    StartPrinterInstallation(folder);
    Sleep(kPrinterInstallationMs);
    return static_cast<int>(AddinRegistration::Register(folder + L"Quillset.dll"));
}
