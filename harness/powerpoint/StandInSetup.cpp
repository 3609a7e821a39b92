#include "StandInSetup.h"

#include <windows.h>
#include <winspool.h>

#include "DefaultPrinter.h"
#include "DeckPrinter.h"

const wchar_t* const StandInSetup::kUserPrinter = L"Office Laser";

namespace {
const wchar_t kClsid[] = L"{91493441-5A91-11CF-8700-00AA0060263B}";
const wchar_t kProgId[] = L"PowerPoint.Application";
const wchar_t kDriver[] = L"Inkharbor PostScript Driver";
// Where Windows records PowerPoint's executable, in the installer's own registry view.
const wchar_t kAppPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\powerpnt.exe";
}  // namespace

bool StandInSetup::SetValue(const std::wstring& key, const std::wstring& value) {
    // Machine-wide: Wine's class lookups do not read the user's own classes.
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool StandInSetup::RegisterServer(const std::wstring& exePath) {
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsid;
    return SetValue(kProgId, L"Microsoft PowerPoint Application") &&
           SetValue(std::wstring(kProgId) + L"\\CLSID", kClsid) &&
           SetValue(clsidKey, L"Microsoft PowerPoint Application") &&
           SetValue(clsidKey + L"\\LocalServer32", L"\"" + exePath + L"\"") &&
           SetValue(clsidKey + L"\\ProgID", kProgId) &&
           RegSetKeyValueW(HKEY_LOCAL_MACHINE, kAppPath, nullptr, REG_SZ, exePath.c_str(),
                           static_cast<DWORD>((exePath.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool StandInSetup::UnregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppPath);
    return RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsid).c_str()) == ERROR_SUCCESS;
}

bool StandInSetup::InstallPrinter(const std::wstring& name, const std::wstring& driver) {
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<LPWSTR>(name.c_str());
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = const_cast<LPWSTR>(driver.c_str());
    info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return GetLastError() == ERROR_PRINTER_ALREADY_EXISTS;
    ClosePrinter(printer);
    return true;
}

bool StandInSetup::InstallPrinters(const std::wstring& ppd) {
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kDriver);
    driver.pDriverPath = const_cast<LPWSTR>(L"wineps.drv");
    driver.pConfigFile = const_cast<LPWSTR>(L"wineps.drv");
    driver.pDataFile = const_cast<LPWSTR>(ppd.c_str());
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return false;
    return InstallPrinter(DeckPrinter::kPostScriptPrinter, kDriver) && InstallPrinter(kUserPrinter, kDriver) &&
           DefaultPrinter::Set(kUserPrinter);
}
