// The installer package under Wine's msiexec, the road of an administrator:
// /i /qn puts the files into Program Files\Quillset and has Brenmoor.exe register
// the add-in; PowerPoint loads it and a conversion works; a newer package
// replaces it; /x /qn leaves no file and no registry entry of ours behind. The
// test bed provides the printer, as Wine has no printer installer; the first
// installation runs without it.
#include <windows.h>

#include <msi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "ButtonConversion.h"
#include "LibraryExport.h"
#include "MessageBoxWatcher.h"
#include "PdfReport.h"
#include "PrinterAway.h"
#include "PrinterInstallerStandIn.h"
#include "ProcessRunner.h"
#include "KeyAside.h"
#include "QuillsetVersion.h"
#include "RecordedPowerPoint.h"
#include "RegistryDump.h"
#include "ShimLog.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInSession.h"
#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixShell.h"

namespace {

const wchar_t kUpgradeCode[] = L"{5E0F1C47-2B8A-4C1D-9F36-7D2A8B41C5E3}";
const wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\Quillset.PowerPointAdd";
const wchar_t kInprocServer[] = L"CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}\\InprocServer32";
const wchar_t* const kInstalled[] = {L"Quillset.dll", L"Brenmoor.exe", L"PrinterXP.bat", L"PrinterVista.bat",
                                     L"INSTALL.txt"};
const wchar_t kClassDriver[] = L"Microsoft PS Class Driver";
// What names our entries anywhere in the registry.
const wchar_t* const kOurs[] = {L"quillset", L"7eef936a", L"a35fc283", L"a492d605", L"5c4b41dd"};

// This build's package in a folder of the build tree.
std::wstring PackageIn(const std::wstring& folder) {
    return TestFiles::Built(folder + L"\\Quillset-" QUILLSET_ARCH L".msi");
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Quillset\\", path, MAX_PATH);
    return path;
}

// What the installation says, and the add-in's folder names, when the printer is missing.
std::string RepairAdvice() {
    const std::wstring folder = ProgramFolder();
    return "so presentations cannot be converted yet. To repair it, select Quillset in Programs and Features and "
           "choose Repair, or run Brenmoor.exe in " +
           std::string(folder.begin(), folder.end()) + " as administrator.";
}

// The package installed first: the build's own, or the signed one that
// QUILLSET_SIGNED_PACKAGE names below the build tree.
std::wstring SignedPackage() {
    const DWORD size = GetEnvironmentVariableW(L"QUILLSET_SIGNED_PACKAGE", nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring relative(size, L'\0');
    relative.resize(GetEnvironmentVariableW(L"QUILLSET_SIGNED_PACKAGE", relative.data(), size));
    return TestFiles::Built(relative);
}

std::wstring PackageUnderTest() {
    const std::wstring signedPackage = SignedPackage();
    return signedPackage.empty() ? PackageIn(L"package") : signedPackage;
}

// An Authenticode signature in the file (osslsigncode finds one to extract).
bool CarriesSignature(const std::wstring& path) {
    return UnixShell::Run("out=$(mktemp -u) && osslsigncode extract-signature -in " + UnixShell::Quote(path) +
                          " -out \"$out\" >/dev/null 2>&1; status=$?; rm -f \"$out\"; exit $status")
               .status == 0;
}

const std::wstring& LogFolder() {
    static const std::wstring folder = TestFiles::NewFolder(L"package-logs");
    return folder;
}

// `ui`: /qn (none, the unattended road) or /qb (basic: progress and messages).
DWORD Msiexec(const std::wstring& action, const std::wstring& package, const wchar_t* log,
              const wchar_t* ui = L"/qn") {
    DWORD exitCode = STILL_ACTIVE;
    const std::wstring line = L"msiexec " + action + L" \"" + package + L"\" " + ui + L" /l*v \"" + LogFolder() +
                              log + L"\"";
    if (!ProcessRunner::RunProcess(line, true, &exitCode)) return STILL_ACTIVE;
    return exitCode;
}

// Repair, as Programs and Features asks for it (msiexec /fa {code}, which Wine's
// msiexec does not take: the call behind it, with the same mode).
DWORD Repair(const std::wstring& product, const wchar_t* log) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    MsiEnableLogW(INSTALLLOGMODE_VERBOSE | INSTALLLOGMODE_INFO | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_ERROR,
                  (LogFolder() + log).c_str(), 0);
    const UINT result = MsiReinstallProductW(product.c_str(), REINSTALLMODE_FILEREPLACE | REINSTALLMODE_MACHINEDATA |
                                                                  REINSTALLMODE_USERDATA | REINSTALLMODE_SHORTCUT |
                                                                  REINSTALLMODE_PACKAGE);
    MsiEnableLogW(0, nullptr, 0);
    return result;
}

std::string Log(const wchar_t* name) {
    const std::wstring path = LogFolder() + name;
    return TestFiles::Exists(path) ? TestFiles::Read(path) : std::string();
}

std::vector<std::wstring> RelatedProducts() {
    std::vector<std::wstring> products;
    wchar_t product[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsW(kUpgradeCode, 0, i, product) == ERROR_SUCCESS; ++i)
        products.push_back(product);
    return products;
}

std::wstring ProductInfo(const std::wstring& product, const wchar_t* property) {
    wchar_t value[256] = {};
    DWORD length = 256;
    if (MsiGetProductInfoW(product.c_str(), property, value, &length) != ERROR_SUCCESS) return L"<none>";
    return value;
}

// In this program's registry view, or the one `view` names (KEY_WOW64_32KEY, KEY_WOW64_64KEY).
std::wstring Text(HKEY root, const std::wstring& path, REGSAM view = 0) {
    std::wstring text;
    return KeyAside::Read(root, path, view, text) ? text : L"<none>";
}

DWORD LoadBehavior(REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAddinKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return 0;
    UniqueRegistryKey held(key);
    DWORD value = 0, size = sizeof value;
    RegGetValueW(key, nullptr, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// The x64 package carries the x86 library too, for 32-bit PowerPoint.
const bool kCarriesX86 = sizeof(void*) == 8;

// Each library's class, and the machine-wide add-in key, in the registry view
// that PowerPoint of its bitness reads.
void ExpectRegisteredForEachBitness(const std::wstring& program) {
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer), program + L"Quillset.dll");
    EXPECT_EQ(LoadBehavior(), 3u);
    if (!kCarriesX86) return;
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer, KEY_WOW64_32KEY), program + L"x86\\Quillset.dll");
    EXPECT_EQ(LoadBehavior(KEY_WOW64_32KEY), 3u);
}

// The whole of both hives where they name one of ours.
std::vector<std::wstring> OurEntries() {
    std::vector<std::wstring> ours;
    for (const auto& hive :
         {RegistryDump::Hive(HKEY_LOCAL_MACHINE, L"HKLM"), RegistryDump::Hive(HKEY_CURRENT_USER, L"HKCU")})
        for (std::wstring line : hive) {
            std::transform(line.begin(), line.end(), line.begin(),
                           [](wchar_t c) { return std::towlower(c); });
            for (const wchar_t* id : kOurs)
                if (line.find(id) != std::wstring::npos) {
                    ours.push_back(line);
                    break;
                }
        }
    return ours;
}

// Every file and folder below `folder`, for a failure message.
std::string Listing(const std::wstring& folder) {
    std::string names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names += std::string(name.begin(), name.end()) + " ";
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            names += "[" + Listing(folder + name + L"\\") + "] ";
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Ghostscript is installed beside the add-in by the user, not by the package.
void AddGhostscript(const std::wstring& program) {
    const std::wstring bin = program + L"gs\\gs8.64\\bin\\";
    for (const wchar_t* folder : {L"gs", L"gs\\gs8.64", L"gs\\gs8.64\\bin"})
        CreateDirectoryW((program + folder).c_str(), nullptr);
    for (const wchar_t* file : {L"gswin32c.exe", L"gswin32c-run", L"unix-start.exe"})
        CopyFileW(TestFiles::Built(std::wstring(L"addin\\gs\\gs8.64\\bin\\") + file).c_str(),
                  (bin + file).c_str(), FALSE);
    UnixShell::Run("chmod +x " + UnixShell::Quote(bin + L"gswin32c-run"));
}

// With what its runs left (logs, output).
void RemoveGhostscript(const std::wstring& program) {
    UnixShell::Run("rm -rf " + UnixShell::Quote(program + L"gs"));
}

// The sample deck through the button of the stand-in, which loads what the
// registry says; the PDF the Finish dialog lists, with its folder.
std::wstring ConvertTheSample(const DialogOptions& dialog = {}) {
    const std::wstring folder = TestFiles::NewFolder(L"package-deck");
    CopyFileW(TestFiles::Source(L"samples\\Quarterly review.pptx").c_str(),
              (folder + L"Quarterly review.pptx").c_str(), FALSE);
    MessageBoxWatcher watcher;
    StandInOptions options;
    options.deck = folder + L"Quarterly review.pptx";
    StandInSession session(options);
    auto& bars = session.Application().CommandBars();
    if (bars.Count() != 1) return L"<the add-in did not load>";
    const std::wstring produced = ButtonConversion(folder, dialog).Run(bars.At(0).At(0));
    for (const auto& seen : watcher.Seen())
        ADD_FAILURE() << "message box: " << std::string(seen.text.begin(), seen.text.end());
    return !produced.empty() && TestFiles::Exists(folder + produced) ? folder + produced : L"<no file>";
}

std::wstring FileName(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

// 128-bit RC4 with both passwords, and every image re-encoded as JPEG.
void ExpectHighEncryptionAndJpeg(const std::wstring& pdf) {
    const std::string quoted = UnixShell::Quote(pdf);
    const UnixResult report = UnixShell::Run("qpdf --show-encryption --password=boss " + quoted);
    for (const char* line : {"R = 3\n", "Supplied password is owner password\n", "User password = open\n"})
        EXPECT_NE(report.output.find(line), std::string::npos) << line << report.output;
    const auto encodings = PdfReport::ImageEncodings(UnixShell::Run("pdfimages -list -upw open " + quoted).output);
    ASSERT_FALSE(encodings.empty());
    for (const auto& encoding : encodings) EXPECT_EQ(encoding, "jpeg");
}

}  // namespace

TEST(Package, InstallsConvertsUpgradesAndRemovesWithoutATrace) {
    const std::wstring program = ProgramFolder();
    ASSERT_FALSE(TestFiles::Exists(program + L"Quillset.dll"));
    ASSERT_TRUE(RelatedProducts().empty());
    const std::vector<std::wstring> before = OurEntries();
    ASSERT_TRUE(TestFiles::Exists(PackageUnderTest()));

    // Without the printer: the add-in is registered all the same, and the log says what is missing.
    PrinterAway away(L"Inkharbor");
    ASSERT_TRUE(away.Removed());
    ASSERT_EQ(Msiexec(L"/i", PackageUnderTest(), L"install.log"), 0u);
    ASSERT_TRUE(away.Restore());
    for (const wchar_t* file : kInstalled) EXPECT_TRUE(TestFiles::Exists(program + file)) << file;
    EXPECT_FALSE(TestFiles::Exists(program + L"QuillsetActions.dll"))
        << "the custom actions stay in the package";
    // Signed exactly when the package is: the build's own files never are.
    for (const wchar_t* file : {L"Quillset.dll", L"Brenmoor.exe"})
        EXPECT_EQ(CarriesSignature(program + file), !SignedPackage().empty()) << file;
    ExpectRegisteredForEachBitness(program);
    const std::vector<std::wstring> products = RelatedProducts();
    ASSERT_EQ(products.size(), 1u);
    // Programs and Features shows these.
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_INSTALLEDPRODUCTNAME), L"Quillset");
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_PUBLISHER), L"Quillset");
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), L"" QUILLSET_VERSION_TEXT);
    EXPECT_NE(
        Log(L"install.log").find("Brenmoor.exe registered the add-in, but the printer \"Inkharbor\" is missing"),
        std::string::npos);

    EXPECT_NE(Log(L"install.log").find(RepairAdvice()), std::string::npos) << "no repair advice in the log";

    AddGhostscript(program);
    const std::wstring pdf = ConvertTheSample({{L"user-password", L"open"}, {L"owner-password", L"boss"},
                                               {L"encryption", L"128"}, {L"image-compression", L"JPEG"}});
    ASSERT_EQ(FileName(pdf), L"Quarterly review.pdf");
    ExpectHighEncryptionAndJpeg(pdf);
    const auto run = ShimLog::LastRun(program + L"gs\\gs8.64\\bin\\gswin32c.log");
    EXPECT_NE(std::find(run.begin(), run.end(), "-dKeyLength=128"), run.end()) << "not through the bundled gswin32c";

    // A repair runs the set-up again: a damaged registration and a missing
    // printer are put right (the printer by the batch file, through the printui
    // stand-in, the driver of Windows 8 to 11 in the box).
    {
        PrinterInstallerStandIn installer({kClassDriver});
        ASSERT_TRUE(installer.Ready());
        for (const REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_32KEY}}) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kAddinKey, view, 0);
            RegDeleteKeyExW(HKEY_CLASSES_ROOT, kInprocServer, view, 0);
        }
        ASSERT_EQ(Repair(products[0], L"repair.log"), 0u);
        ExpectRegisteredForEachBitness(program);
        EXPECT_EQ(PrinterInstallerStandIn::InkharborDriver(), kClassDriver) << installer.Calls();
        EXPECT_NE(Log(L"repair.log").find("Quillset: Brenmoor.exe installed the printer and registered the add-in"),
                  std::string::npos);
    }
    // The test bed's own printer is back in place of the one the repair added;
    // removal must leave it.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Quillset", L"PrinterAdded");

    // The next version is built from the build's own, unsigned files of the same
    // file version: over the signed ones it is no upgrade a release makes.
    if (!SignedPackage().empty()) {
        RemoveGhostscript(program);
        ASSERT_EQ(Msiexec(L"/x", PackageUnderTest(), L"remove.log"), 0u);
        EXPECT_TRUE(RelatedProducts().empty());
        EXPECT_FALSE(TestFiles::Exists(program)) << "the folder stayed with: " << Listing(program);
        const std::vector<std::wstring> after = OurEntries();
        EXPECT_TRUE(before == after) << RegistryDump::Difference(before, after);
        return;
    }
    ASSERT_EQ(Msiexec(L"/i", PackageIn(L"setup\\next"), L"upgrade.log"), 0u);
    const std::vector<std::wstring> upgraded = RelatedProducts();
    ASSERT_EQ(upgraded.size(), 1u) << "the older version stayed installed";
    EXPECT_NE(upgraded[0], products[0]);
    EXPECT_NE(ProductInfo(upgraded[0], INSTALLPROPERTY_VERSIONSTRING), L"" QUILLSET_VERSION_TEXT);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer), program + L"Quillset.dll")
        << "the older version's removal took the registration";
    ExpectRegisteredForEachBitness(program);
    EXPECT_NE(Log(L"upgrade.log").find("Quillset: Brenmoor.exe installed the printer and registered the add-in"),
              std::string::npos);
    EXPECT_EQ(FileName(ConvertTheSample()), L"Quarterly review.pdf");

    RemoveGhostscript(program);
    ASSERT_EQ(Msiexec(L"/x", PackageIn(L"setup\\next"), L"remove.log"), 0u);
    EXPECT_TRUE(RelatedProducts().empty());
    EXPECT_FALSE(TestFiles::Exists(program)) << "the folder stayed with: " << Listing(program);
    const std::vector<std::wstring> after = OurEntries();
    EXPECT_TRUE(before == after) << RegistryDump::Difference(before, after);
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer, view), L"<none>") << view;
        EXPECT_EQ(LoadBehavior(view), 0u) << view;
    }
    EXPECT_TRUE(PrinterAway::Exists(L"Inkharbor")) << "the printer that the installation did not add is gone";
}

// Where `action` starts in a verbose log, or npos.
size_t ActionStart(const std::string& log, const char* action, size_t from = 0) {
    for (size_t at = log.find("Action start ", from); at != std::string::npos; at = log.find("Action start ", at + 1)) {
        const size_t name = log.find(": ", at);
        if (name != std::string::npos && log.compare(name + 2, strlen(action) + 1, std::string(action) + ".") == 0)
            return at;
    }
    return std::string::npos;
}

// Removes whatever a test left installed, by product code.
void RemoveEveryVersion() {
    for (const auto& product : RelatedProducts()) {
        DWORD exitCode = STILL_ACTIVE;
        ProcessRunner::RunProcess(L"msiexec /x " + product + L" /qn", true, &exitCode);
    }
    UnixShell::Run("rm -rf " + UnixShell::Quote(ProgramFolder()));
}

// The package of the recording stand-in for the library, which refuses a
// registration when it finds its marker beside it. Both refused: Brenmoor.exe
// ends with 3. Only the machine-wide one refused while the printer is missing:
// Brenmoor.exe's per-user fallback registered it for the installing account
// alone, which no user sees, and its printer code must not pass for success.
// Either way the installation fails and is rolled back.
TEST(Package, ARefusedRegistrationFailsTheInstallationAndRollsItBack) {
    struct Row {
        std::vector<const wchar_t*> markers;
        bool printerAway;
        const char* logged;
    };
    const Row rows[] = {
        {{L"refuse-machine", L"refuse-user"}, false, "Brenmoor.exe did not register the add-in (exit code 3)"},
        {{L"refuse-machine"}, true, "Brenmoor.exe registered the add-in for the installing account only"},
    };
    const std::wstring program = ProgramFolder();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.logged);
        ASSERT_FALSE(TestFiles::Exists(program));
        ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
        for (const wchar_t* marker : row.markers) ASSERT_TRUE(TestFiles::Write(program + marker, ""));
        std::optional<PrinterAway> away;
        if (row.printerAway) {
            ASSERT_TRUE(away.emplace(L"Inkharbor").Removed());
        }

        EXPECT_EQ(Msiexec(L"/i", PackageIn(L"tests\\wine\\setup\\refusing"), L"refused.log"),
                  static_cast<DWORD>(ERROR_INSTALL_FAILURE));
        const std::string log = Log(L"refused.log");
        const size_t refused = log.find(std::string("Quillset: ") + row.logged);
        ASSERT_NE(refused, std::string::npos) << log;
        // The rollback's own action then unregisters whatever the refusal left.
        EXPECT_NE(log.find("Quillset: add-in unregistered: ", refused), std::string::npos) << "no rollback action";
        EXPECT_EQ(TestFiles::Read(program + L"calls.txt"), "DllRegisterServer\nDllInstall install user\n")
            << "Brenmoor.exe did not run";
        for (const wchar_t* file : kInstalled) EXPECT_FALSE(TestFiles::Exists(program + file)) << file;
        EXPECT_TRUE(RelatedProducts().empty()) << "the product stayed installed";
        UnixShell::Run("rm -rf " + UnixShell::Quote(program));
    }
}

// An upgrade whose set-up fails: the package as it ships, installed
// interactively without the printer and with PowerPoint of the other bitness
// (a box says each, the first how to repair), then
// the refusing package, one version later. The older version is removed inside
// the upgrade's transaction, after InstallInitialize; the upgrade's own
// rollback runs and it is not installed. That Windows Installer then rolls the
// older version's removal back with it cannot be seen here: Wine's msiexec
// removes it in an installation of its own, committed at once. What that
// rollback runs of ours is the next test.
TEST(Package, AFailedUpgradeIsRolledBackWithTheOlderVersionsRemovalInItsTransaction) {
    const std::wstring program = ProgramFolder();
    ASSERT_TRUE(RelatedProducts().empty());
    {
        PrinterAway away(L"Inkharbor");
        ASSERT_TRUE(away.Removed());
        // And PowerPoint of the other bitness: the x64 package serves it with
        // its x86 library; the x86 one (on 64-bit Windows) says it cannot.
        RecordedPowerPoint office(TestFiles::NewFolder(L"package-office"));
        ASSERT_TRUE(office.Record(RecordedPowerPoint::kOtherMachine));
        MessageBoxWatcher watcher(IDOK, true);
        ASSERT_EQ(Msiexec(L"/i", PackageIn(L"package"), L"older.log", L"/qb"), 0u);
        std::vector<SeenMessageBox> boxes = watcher.Seen();
        ASSERT_EQ(boxes.size(), kCarriesX86 ? 1u : 2u) << "a message missing, or one too many";
        const std::string text(boxes[0].text.begin(), boxes[0].text.end());
        EXPECT_NE(text.find("Quillset is installed, but the printer \"Inkharbor\" is missing"), std::string::npos)
            << text;
        EXPECT_NE(text.find(RepairAdvice()), std::string::npos) << text;
        const char* const kOtherBitness = "but PowerPoint on this computer is 64-bit";
        if (!kCarriesX86) {
            const std::string bitness(boxes[1].text.begin(), boxes[1].text.end());
            EXPECT_NE(bitness.find(kOtherBitness), std::string::npos) << bitness;
        }
        const bool logged = Log(L"older.log").find("but PowerPoint on this computer is") != std::string::npos;
        EXPECT_EQ(logged, !kCarriesX86) << "said, or not said, in the log";
    }
    const std::vector<std::wstring> older = RelatedProducts();
    ASSERT_EQ(older.size(), 1u);
    ASSERT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer), program + L"Quillset.dll");

    ASSERT_TRUE(TestFiles::Write(program + L"refuse-machine", ""));
    ASSERT_TRUE(TestFiles::Write(program + L"refuse-user", ""));
    EXPECT_EQ(Msiexec(L"/i", PackageIn(L"tests\\wine\\setup\\refusing"),
                      L"failed-upgrade.log"),
              static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    const std::string log = Log(L"failed-upgrade.log");
    const size_t initialize = ActionStart(log, "InstallInitialize");
    const size_t removal = ActionStart(log, "RemoveExistingProducts");
    ASSERT_NE(initialize, std::string::npos);
    EXPECT_NE(removal, std::string::npos) << "the older version was not removed";
    EXPECT_LT(initialize, removal) << "the older version is removed outside the upgrade's transaction";
    const size_t refused = log.find("Quillset: Brenmoor.exe did not register the add-in (exit code 3)");
    ASSERT_NE(refused, std::string::npos);
    EXPECT_NE(log.find("Quillset: add-in unregistered: ", refused), std::string::npos) << "no rollback action";
    for (const auto& product : RelatedProducts())
        EXPECT_EQ(ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING), L"" QUILLSET_VERSION_TEXT)
            << "the failed version stayed installed";
    RemoveEveryVersion();
}

// A repair that fails leaves what it repaired. A removal that fails after
// the add-in was unregistered, as the older
// version's removal inside a failed upgrade does on Windows: its rollback
// action runs the set-up again, so the add-in is registered as before and the
// files are there (Wine's msiexec then forgets the product itself, which
// Windows Installer keeps; not ours to show).
TEST(Package, ARepairOrARemovalThatFailsLeavesTheAddinRegistered) {
    const std::wstring program = ProgramFolder();
    ASSERT_TRUE(RelatedProducts().empty());
    const std::wstring package = PackageIn(L"tests\\wine\\setup\\failing-removal");
    ASSERT_EQ(Msiexec(L"/i", package, L"before-failed-removal.log"), 0u);
    ASSERT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer), program + L"Quillset.dll");

    // A repair whose set-up fails after Brenmoor.exe ran is rolled back to the
    // installation it repaired: registered in each view, the printer there, and
    // what the installation noted of itself kept (a removal reads it).
    {
        const std::vector<std::wstring> products = RelatedProducts();
        ASSERT_EQ(products.size(), 1u);
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Quillset", L"Noted", REG_SZ, L"x", 4), 0);
        EXPECT_EQ(Repair(products[0], L"failed-repair.log"), static_cast<UINT>(ERROR_INSTALL_FAILURE));
        const std::string log = Log(L"failed-repair.log");
        const size_t failed = log.find("Quillset: Brenmoor.exe could not be run to its end");
        ASSERT_NE(failed, std::string::npos) << log;
        EXPECT_EQ(log.find("Quillset: add-in unregistered", failed), std::string::npos) << "rolled back as a removal";
        ExpectRegisteredForEachBitness(program);
        EXPECT_TRUE(PrinterAway::Exists(L"Inkharbor"));
        EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Quillset", L"Noted", RRF_RT_REG_SZ, nullptr, nullptr,
                               nullptr),
                  0);
        EXPECT_EQ(RelatedProducts(), products);
        for (const wchar_t* file : kInstalled) EXPECT_TRUE(TestFiles::Exists(program + file)) << file;
    }

    EXPECT_EQ(Msiexec(L"/x", package, L"failed-removal.log"), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    const std::string log = Log(L"failed-removal.log");
    const size_t unregistered = log.find("Quillset: add-in unregistered: 0x00000000");
    ASSERT_NE(unregistered, std::string::npos) << "RemoveSetup did not run";
    EXPECT_NE(log.find("Quillset: Brenmoor.exe installed the printer and registered the add-in", unregistered),
              std::string::npos)
        << "no rollback of RemoveSetup";
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kInprocServer), program + L"Quillset.dll");
    EXPECT_EQ(LoadBehavior(), 3u);
    for (const wchar_t* file : kInstalled) EXPECT_TRUE(TestFiles::Exists(program + file)) << file;
    // Gone for good: the registration with the files.
    const std::wstring library = program + L"Quillset.dll";
    UniqueLibrary loaded(LoadLibraryW(library.c_str()));
    ASSERT_TRUE(loaded);
    const auto unregister = LibraryExport<HRESULT(WINAPI*)()>(loaded.Get(), "DllUnregisterServer");
    ASSERT_NE(unregister, nullptr);
    EXPECT_EQ(unregister(), S_OK);
    loaded.Reset();
    RemoveEveryVersion();
}
