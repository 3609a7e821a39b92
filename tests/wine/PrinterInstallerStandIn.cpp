#include "PrinterInstallerStandIn.h"

#include <windows.h>
#include <winspool.h>

#include "TestFiles.h"

namespace {

const wchar_t kTestBedDriver[] = L"Inkharbor PostScript Driver";

// The machine's own environment, where its printer installer looks for drivers:
// a 32-bit process on 64-bit Windows would otherwise add them for "Windows NT x86".
LPWSTR Environment() {
    static wchar_t x64[] = L"Windows x64";
    static wchar_t x86[] = L"Windows NT x86";
    const bool native64 = sizeof(void*) == 8 || TestFiles::Wow64();
    return native64 ? x64 : x86;
}
// Wine loads its own printui.dll unless told to take the one in System32.
const wchar_t kOverride[] = L"Software\\Wine\\AppDefaults\\rundll32.exe";

// The test bed's driver's data file (its PPD), which the models' drivers share.
std::wstring TestBedDataFile() {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, Environment(), 3, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!needed || !EnumPrinterDriversW(nullptr, Environment(), 3, buffer.data(), needed, &needed, &count))
        return {};
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (drivers[i].pName && std::wstring(drivers[i].pName) == kTestBedDriver) return drivers[i].pDataFile;
    return {};
}

}  // namespace

PrinterInstallerStandIn::PrinterInstallerStandIn(const std::vector<std::wstring>& models)
    : m_folder(TestFiles::NewFolder(L"printui")), m_away(L"Inkharbor") {
    // The batch files run the machine's own rundll32.exe (Sysnative from a 32-bit
    // setup), which loads the printui.dll of its own System32 and bitness.
    m_system32 = TestFiles::NativeSystemFolder() + L"\\";
    m_ready = m_away.Removed() && PutInPlace();
    for (const auto& model : models) m_ready = AddDriver(model) && m_ready;
}

bool PrinterInstallerStandIn::PutInPlace() {
    const wchar_t native[] = L"native";
    return CopyFileW((m_system32 + L"printui.dll").c_str(), (m_folder + L"printui-wine.dll").c_str(), FALSE) &&
           CopyFileW(TestFiles::NativePrintUI().c_str(), (m_system32 + L"printui.dll").c_str(),
                     FALSE) &&
           RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(kOverride) + L"\\DllOverrides").c_str(), L"printui",
                           REG_SZ, native, sizeof native) == ERROR_SUCCESS &&
           SetEnvironmentVariableW(L"QUILLSET_PRINTUI", m_folder.c_str());
}

PrinterInstallerStandIn::~PrinterInstallerStandIn() {
    SetEnvironmentVariableW(L"QUILLSET_PRINTUI", nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, kOverride);
    if (TestFiles::Exists(m_folder + L"printui-wine.dll"))
        CopyFileW((m_folder + L"printui-wine.dll").c_str(), (m_system32 + L"printui.dll").c_str(), FALSE);
    m_away.Restore();
    for (const auto& model : m_models) DeletePrinterDriverW(nullptr, Environment(), const_cast<LPWSTR>(model.c_str()));
}

bool PrinterInstallerStandIn::AddDriver(const std::wstring& model) {
    std::wstring dataFile = TestBedDataFile();
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(model.c_str());
    driver.pEnvironment = Environment();
    driver.pDriverPath = const_cast<LPWSTR>(L"wineps.drv");
    driver.pConfigFile = const_cast<LPWSTR>(L"wineps.drv");
    driver.pDataFile = dataFile.data();
    if (dataFile.empty() || !AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
        return false;
    m_models.push_back(model);
    return true;
}

void PrinterInstallerStandIn::Hang(const std::wstring& model) {
    TestFiles::Write(m_folder + L"printui-hang.txt", std::string(model.begin(), model.end()) + "\n");
}

std::string PrinterInstallerStandIn::Calls() const {
    const std::wstring log = m_folder + L"printui.log";
    return TestFiles::Exists(log) ? TestFiles::Read(log) : std::string();
}

std::wstring PrinterInstallerStandIn::InkharborDriver() {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(L"Inkharbor"), &printer, nullptr)) return L"<none>";
    DWORD size = 0;
    GetPrinterW(printer, 2, nullptr, 0, &size);
    std::vector<BYTE> info(size);
    std::wstring driver = L"<unreadable>";
    if (size && GetPrinterW(printer, 2, info.data(), size, &size))
        driver = reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDriverName;
    ClosePrinter(printer);
    return driver;
}
