// Brenmoor.exe, the setup program: which printer batch file it runs on which
// Windows version and how, that it waits for it, where it loads the library
// from, the per-user fallback, and what its exit code says. The runs of a
// suite are started together and examined afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <tlhelp32.h>
#include <winternl.h>

#include "KeyAside.h"
#include "LibraryExport.h"
#include "PrinterAway.h"
#include "PrinterInstallerStandIn.h"
#include "RecordedPowerPoint.h"
#include "SetupActions.h"
#include "SetupProgram.h"
#include "TestFiles.h"
#include "UniqueHandle.h"

namespace {

const DWORD kRunLimitMs = 60 * 1000;
const wchar_t kClsid[] = L"{7EEF936A-F221-4F46-8C29-92821BB74D7B}";
const wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\Quillset.PowerPointAdd";
const wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\";
const DWORD kPrinterMissing = 4;
// Each batch file notes that it was started, in started.txt beside it, its
// current directory, and its end in calls.txt, where the recording library then
// notes the registration.
const char kRecordingBatch[] =
    "@echo %~nx0 started>>\"%~dp0started.txt\"\r\n"
    "@echo %CD%>>\"%~dp0directory.txt\"\r\n"
    "@echo %~nx0 ended>>\"%~dp0calls.txt\"\r\n";

// A batch file that holds on until the test lets it go.
const char kHeldBatch[] =
    "@echo %~nx0 started>>\"%~dp0started.txt\"\r\n"
    ":wait\r\n"
    "@if not exist \"%~dp0go\" goto wait\r\n"
    "@echo %~nx0 ended>>\"%~dp0calls.txt\"\r\n";

// A batch file that starts the Imagesetter's printer line and ends without waiting for it.
const char kLeavingBatch[] =
    "@start \"\" \"%SystemRoot%\\System32\\rundll32.exe\" printui.dll,PrintUIEntry /if /b Inkharbor /f x.inf "
    "/r FILE: /m \"MS Publisher Imagesetter\" /q\r\n";

// The stand-in for Quillset.dll that records its registration calls.
std::wstring RecordingLibrary() {
    return TestFiles::Built(L"tests\\wine\\setup\\recording\\Quillset.dll");
}

// Writes through the long-path form, so that a file beyond MAX_PATH can be placed too.
void Write(const std::wstring& path, const std::string& bytes) {
    UniqueFileHandle file(CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot write " << path.size() << " characters";
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadOrEmpty(const std::wstring& path) {
    return TestFiles::Exists(path) ? TestFiles::Read(path) : std::string();
}

// One copy of the setup program in a folder of its own, started now and
// waited for later.
class SetupCopy {
public:
    explicit SetupCopy(const std::wstring& folder, const std::wstring& exeName = L"Brenmoor.exe")
        : m_folder(folder), m_exe(folder + exeName) {
        CopyFileW(TestFiles::Built(L"setup\\Brenmoor.exe").c_str(), m_exe.c_str(), FALSE);
    }
    SetupCopy& WithBatchFiles(const char* text = kRecordingBatch) {
        Write(m_folder + L"PrinterXP.bat", text);
        Write(m_folder + L"PrinterVista.bat", text);
        return *this;
    }
    // The batch files that ship, as the build put them beside Brenmoor.exe.
    SetupCopy& WithShippedBatchFiles() {
        for (const wchar_t* name : {L"PrinterXP.bat", L"PrinterVista.bat"})
            CopyFileW(TestFiles::Built(std::wstring(L"setup\\") + name).c_str(), (m_folder + name).c_str(), FALSE);
        return *this;
    }
    SetupCopy& WithLibrary(const std::wstring& library = RecordingLibrary()) {
        CopyFileW(library.c_str(), (m_folder + L"Quillset.dll").c_str(), FALSE);
        return *this;
    }
    SetupCopy& Refusing(const wchar_t* marker) {
        Write(m_folder + marker, "");
        return *this;
    }
    void Start(const std::wstring& currentDirectory = {}) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::wstring commandLine = L"\"" + m_exe + L"\"";
        if (!CreateProcessW(m_exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &process))
            return;
        CloseHandle(process.hThread);
        m_process.Reset(process.hProcess);
    }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD Wait() {
        if (!m_process || WaitForSingleObject(m_process.Get(), kRunLimitMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD exitCode = STILL_ACTIVE;
        GetExitCodeProcess(m_process.Get(), &exitCode);
        return exitCode;
    }
    std::string Calls() const { return ReadOrEmpty(m_folder + L"calls.txt"); }
    std::string Started() const { return ReadOrEmpty(m_folder + L"started.txt"); }
    std::string Directory() const { return ReadOrEmpty(m_folder + L"directory.txt"); }
    DWORD ProcessId() const { return m_process ? GetProcessId(m_process.Get()) : 0; }
    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
    std::wstring m_exe;
    UniqueKernelHandle m_process;
};

// Wine reports the Windows version that the prefix's per-program settings name.
void SetWindowsVersion(const std::wstring& exeName, const wchar_t* version) {
    const DWORD bytes = static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t));
    RegSetKeyValueW(HKEY_CURRENT_USER, (kAppDefaults + exeName).c_str(), L"Version", REG_SZ, version, bytes);
}

// A folder whose full path with its closing backslash is `length` characters long.
std::wstring FolderOfLength(size_t length) {
    std::wstring folder = TestFiles::NewFolder(L"setup-long");
    while (folder.size() < length) {
        const size_t name = std::min<size_t>(100, length - folder.size() - 1);
        folder += std::wstring(name ? name : 1, L'x');
        CreateDirectoryW(folder.c_str(), nullptr);
        folder += L'\\';
    }
    return folder;
}

// The one child process of `parent`, opened to be read.
UniqueKernelHandle OpenChild(DWORD parent) {
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent)
            return UniqueKernelHandle(
                OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
    return UniqueKernelHandle();
}

// Its program file, and its command line as its process parameters hold it.
std::wstring ImageAndCommandLine(HANDLE process) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process, 0, path, &size)) return L"<no child>";
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return L"<unreadable>";
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(), parameters.CommandLine.Length,
                      nullptr);
    return std::wstring(path) + L"\n" + line;
}

// Running processes started from `image`, and the cmd.exe children of `parent`: their names.
std::string ProcessesOf(const std::wstring& image, DWORD parent) {
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    std::string found;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const bool fromImage = process && QueryFullProcessImageNameW(process.Get(), 0, path, &size) &&
                               CompareStringOrdinal(path, -1, image.c_str(), -1, TRUE) == CSTR_EQUAL;
        if (fromImage || (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, L"cmd.exe") == 0))
            found += std::string(entry.szExeFile, entry.szExeFile + wcslen(entry.szExeFile)) + " ";
    }
    return found;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

const wchar_t kImagesetter[] = L"MS Publisher Imagesetter";
const wchar_t kClassDriver[] = L"Microsoft PS Class Driver";

// A printui line of the batch files as the stand-in notes it, without its outcome.
std::string PrinterLine(const wchar_t* model) {
    wchar_t windows[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINDIR", windows, MAX_PATH);
    return "/if /b Inkharbor /f " + Narrow(windows) + "\\inf\\ntprint.inf /r FILE: /m \"" + Narrow(model) + "\" /q";
}
const char kRemoveLine[] = "/dl /n Inkharbor /q => failed quietly\n";

struct Runs {
    std::unique_ptr<SetupCopy> xp, seven, ten, planted, noBatch, perUser, refused, longPath, held;
    std::wstring plantedFolder;
};

}  // namespace

class SetupRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        runs = new Runs;
        StartVersionRuns();
        StartLibraryRuns();
    }
    static void TearDownTestSuite() {
        for (const wchar_t* name : {L"Brenmoor-winxp64.exe", L"Brenmoor-win7.exe", L"Brenmoor-win10.exe"})
            RegDeleteTreeW(HKEY_CURRENT_USER, (kAppDefaults + std::wstring(name)).c_str());
        delete runs;
    }
    static std::unique_ptr<SetupCopy> StartOnVersion(const wchar_t* version) {
        const std::wstring exeName = std::wstring(L"Brenmoor-") + version + L".exe";
        SetWindowsVersion(exeName, version);
        // Parentheses, as in "Program Files (x86)", are special to cmd.
        auto copy = std::make_unique<SetupCopy>(
            TestFiles::NewFolder(std::wstring(L"setup ") + version + L" (x86)"), exeName);
        copy->WithBatchFiles().WithLibrary().Start();
        return copy;
    }
    static void StartVersionRuns() {
        runs->xp = StartOnVersion(L"winxp64");
        runs->seven = StartOnVersion(L"win7");
        runs->ten = StartOnVersion(L"win10");
    }
    static void StartLibraryRuns() {
        // A library in the current directory and on the search path, none beside the program.
        runs->plantedFolder = TestFiles::NewFolder(L"setup-planted-library");
        CopyFileW(RecordingLibrary().c_str(), (runs->plantedFolder + L"Quillset.dll").c_str(),
                  FALSE);
        runs->planted = std::make_unique<SetupCopy>(TestFiles::NewFolder(L"setup-no-library"));
        runs->planted->WithBatchFiles();
        StartWithPlantedLibrary();

        runs->noBatch = std::make_unique<SetupCopy>(TestFiles::NewFolder(L"setup-no-batch"));
        runs->noBatch->WithLibrary().Start();
        runs->perUser = std::make_unique<SetupCopy>(TestFiles::NewFolder(L"setup-per-user"));
        runs->perUser->WithBatchFiles().WithLibrary().Refusing(L"refuse-machine").Start();
        runs->refused = std::make_unique<SetupCopy>(TestFiles::NewFolder(L"setup-refused"));
        runs->refused->WithBatchFiles().WithLibrary().Refusing(L"refuse-machine").Refusing(L"refuse-user").Start();
        // 247 characters: "Quillset.dll" and "Brenmoor.exe" still fit in MAX_PATH, no batch file name does.
        runs->longPath = std::make_unique<SetupCopy>(FolderOfLength(247));
        runs->longPath->WithBatchFiles().WithLibrary().Start();
        runs->held = std::make_unique<SetupCopy>(TestFiles::NewFolder(L"setup-held-batch"));
        runs->held->WithBatchFiles(kHeldBatch).WithLibrary().Start();
    }
    static void StartWithPlantedLibrary() {
        wchar_t path[32767];
        const DWORD length = GetEnvironmentVariableW(L"PATH", path, 32767);
        const std::wstring saved(path, length);
        SetEnvironmentVariableW(L"PATH", (runs->plantedFolder + L";" + saved).c_str());
        runs->planted->Start(runs->plantedFolder);
        SetEnvironmentVariableW(L"PATH", saved.c_str());
    }
    static Runs* runs;
};
Runs* SetupRun::runs = nullptr;

TEST_F(SetupRun, RunsTheVistaBatchFileOnMajorVersionSixOnlyThroughTheSystemsCmd) {
    ASSERT_EQ(runs->xp->Wait(), 0u);
    EXPECT_EQ(runs->xp->Started(), "PrinterXP.bat started\r\n");
    ASSERT_EQ(runs->seven->Wait(), 0u);
    EXPECT_EQ(runs->seven->Started(), "PrinterVista.bat started\r\n");
    // Windows 8 to 11 tell a program without a compatibility manifest 6.2.
    ASSERT_EQ(runs->ten->Wait(), 0u);
    EXPECT_EQ(runs->ten->Started(), "PrinterVista.bat started\r\n");
    EXPECT_EQ(runs->ten->Calls(), "PrinterVista.bat ended\r\nDllRegisterServer\n");

    const std::wstring folder = runs->ten->Folder().substr(0, runs->ten->Folder().size() - 1) + L"\r\n";
    EXPECT_EQ(runs->ten->Directory(), std::string(folder.begin(), folder.end())) << "runs in its own folder";
}

TEST_F(SetupRun, RegistersOnlyAfterTheBatchFileHasEnded) {
    ULONGLONG waited = 0;
    // Until its line is whole: cmd writes it in pieces.
    while (runs->held->Started().find("\r\n") == std::string::npos && waited < kRunLimitMs) Sleep(50), waited += 50;
    ASSERT_EQ(runs->held->Started(), "PrinterVista.bat started\r\n");
    EXPECT_EQ(runs->held->Calls(), "") << "registered while the batch file still ran";
    // The system's own cmd.exe, without the user's AutoRun commands (/d), the
    // batch file's path quoted inside the quotes that cmd strips.
    // A 32-bit Brenmoor on 64-bit Windows names System32's, and runs SysWOW64's.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
    std::wstring expected = TestFiles::ImageSystemFolder() + L"\\cmd.exe\n\"" + cmd + L"\" /d /c \"\"" +
                            runs->held->Folder() + L"PrinterVista.bat\"\"";
    std::wstring seen = ImageAndCommandLine(OpenChild(runs->held->ProcessId()).Get());
    CharLowerW(expected.data());
    CharLowerW(seen.data());
    EXPECT_EQ(seen, expected);
    Write(runs->held->Folder() + L"go", "");
    EXPECT_EQ(runs->held->Wait(), 0u);
    EXPECT_EQ(runs->held->Calls(), "PrinterVista.bat ended\r\nDllRegisterServer\n");
}

TEST_F(SetupRun, LoadsTheLibraryOnlyFromItsOwnFolderAndSaysSoWhenItIsMissing) {
    EXPECT_EQ(runs->planted->Wait(), 1u);
    EXPECT_NE(runs->planted->Started(), "") << "the batch file is run all the same";
    EXPECT_EQ(ReadOrEmpty(runs->plantedFolder + L"calls.txt"), "") << "the planted library ran";
}

TEST_F(SetupRun, RegistersWithoutTheBatchFile) {
    EXPECT_EQ(runs->noBatch->Wait(), 0u);
    EXPECT_EQ(runs->noBatch->Calls(), "DllRegisterServer\n");
}

TEST_F(SetupRun, RegistersPerUserWhenMachineWideRegistrationIsRefused) {
    EXPECT_EQ(runs->perUser->Wait(), 0u);
    EXPECT_EQ(runs->perUser->Calls(),
              "PrinterVista.bat ended\r\nDllRegisterServer\nDllInstall install user\n");
}

TEST_F(SetupRun, ExitCodeReportsARegistrationRefusedBothWays) {
    EXPECT_EQ(runs->refused->Wait(), 3u);
    EXPECT_EQ(runs->refused->Calls(),
              "PrinterVista.bat ended\r\nDllRegisterServer\nDllInstall install user\n");
}

TEST_F(SetupRun, SkipsABatchFileBeyondThePathLimitAndStillRegisters) {
    ASSERT_EQ(runs->longPath->Folder().size(), 247u);
    EXPECT_EQ(runs->longPath->Wait(), 0u);
    EXPECT_EQ(runs->longPath->Started(), "");
    EXPECT_EQ(runs->longPath->Calls(), "DllRegisterServer\n");
}


TEST(SetupRegistration, ExitCodeSaysThePrinterIsMissingThoughTheAddinIsRegistered) {
    SetupCopy setup(TestFiles::NewFolder(L"setup-no-printer"));
    setup.WithBatchFiles().WithLibrary();
    {
        PrinterAway away(L"Inkharbor");
        ASSERT_TRUE(away.Removed());
        setup.Start();
        EXPECT_EQ(setup.Wait(), kPrinterMissing);
    }
    EXPECT_EQ(setup.Calls(), "PrinterVista.bat ended\r\nDllRegisterServer\n");
    EXPECT_TRUE(PrinterAway::Exists(L"Inkharbor")) << "the printer was not put back";
}

// The real library, registered machine-wide into this prefix and removed again.
TEST(SetupRegistration, RegistersTheAddinBesideIt) {
    SetupCopy setup(TestFiles::NewFolder(L"setup-real"));
    setup.WithBatchFiles().WithLibrary(TestFiles::Built(L"addin\\Quillset.dll")).Start();
    ASSERT_EQ(setup.Wait(), 0u);
    const std::wstring library = setup.Folder() + L"Quillset.dll";
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsid + L"\\InprocServer32").c_str(), nullptr,
                 RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_EQ(std::wstring(value), library);
    DWORD loadBehavior = 0;
    size = sizeof loadBehavior;
    RegGetValueW(HKEY_LOCAL_MACHINE, kAddinKey, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &loadBehavior,
                 &size);
    EXPECT_EQ(loadBehavior, 3u) << "for every user of the machine";

    UniqueLibrary loaded(LoadLibraryW(library.c_str()));
    ASSERT_TRUE(loaded);
    const auto unregister = LibraryExport<HRESULT(WINAPI*)()>(loaded.Get(), "DllUnregisterServer");
    ASSERT_NE(unregister, nullptr);
    EXPECT_EQ(unregister(), S_OK);
}

// The batch files that ship, run by Brenmoor.exe against the printui stand-in:
// with the Imagesetter in the box the first printer line does it; without it
// (Windows 8 to 11) that line fails quietly and the class driver's line runs.
TEST(SetupRegistration, ShippedBatchFilesFallBackQuietlyToTheClassDriver) {
    struct Row {
        const wchar_t* version;
        std::vector<std::wstring> models;
        std::string calls;
        std::wstring driver;
    };
    const std::string imagesetterOk = PrinterLine(kImagesetter) + " => ok\n";
    const std::string fallback =
        PrinterLine(kImagesetter) + " => failed quietly\n" + PrinterLine(kClassDriver) + " => ok\n";
    const Row rows[] = {
        {L"win7", {kImagesetter, kClassDriver}, kRemoveLine + imagesetterOk, kImagesetter},
        {L"win10", {kClassDriver}, kRemoveLine + fallback, kClassDriver},
        {L"winxp64", {kImagesetter}, kRemoveLine + imagesetterOk, kImagesetter},
        {L"winxp64", {kClassDriver}, kRemoveLine + fallback, kClassDriver},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(row.version) + (row.models.size() == 1 ? " with " + Narrow(row.models[0]) : ""));
        const std::wstring exeName = std::wstring(L"Brenmoor-batch-") + row.version + L".exe";
        SetWindowsVersion(exeName, row.version);
        {
            PrinterInstallerStandIn installer(row.models);
            ASSERT_TRUE(installer.Ready());
            SetupCopy setup(TestFiles::NewFolder(L"setup-shipped-batch"), exeName);
            setup.WithShippedBatchFiles().WithLibrary().Start();
            EXPECT_EQ(setup.Wait(), 0u);
            EXPECT_EQ(installer.Calls(), row.calls);
            EXPECT_EQ(PrinterInstallerStandIn::InkharborDriver(), row.driver);
            EXPECT_EQ(setup.Calls(), "DllRegisterServer\n");
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, (kAppDefaults + exeName).c_str());
    }
    EXPECT_EQ(PrinterInstallerStandIn::InkharborDriver(), L"Inkharbor PostScript Driver") << "not put back";
}

// A printui that never ends (here the Imagesetter's line) is ended at the limit
// with the cmd that ran it; the add-in is registered all the same, and the
// result says the set-up timed out. The limit is the caller's, shortened here.
// What a batch file leaves running when it ends is ended too.
TEST(SetupRegistration, APrinterSetUpThatHangsIsEndedWithEverythingItStartedAtTheLimit) {
    // Long enough for cmd and two rundll32 to start on a loaded machine.
    const DWORD kShortLimitMs = 20000;
    PrinterInstallerStandIn installer({kClassDriver});
    ASSERT_TRUE(installer.Ready());
    installer.Hang(kImagesetter);
    SetupCopy setup(TestFiles::NewFolder(L"setup-hung-printer"));
    setup.WithShippedBatchFiles().WithLibrary();
    EXPECT_EQ(SetupProgram::Run(setup.Folder(), kShortLimitMs), SetupProgram::kPrinterSetupTimedOut);
    EXPECT_EQ(installer.Calls(), kRemoveLine + PrinterLine(kImagesetter) + " => hangs\n");
    EXPECT_EQ(setup.Calls(), "DllRegisterServer\n");
    EXPECT_EQ(ProcessesOf(installer.Rundll32(), GetCurrentProcessId()), "") << "processes of the batch file are left";

    // A batch file that ends at once but leaves a printui running: that goes with it.
    SetupCopy leaving(TestFiles::NewFolder(L"setup-printer-left-running"));
    leaving.WithBatchFiles(kLeavingBatch).WithLibrary();
    EXPECT_EQ(SetupProgram::Run(leaving.Folder(), kShortLimitMs), SetupProgram::kPrinterMissing);
    EXPECT_EQ(ProcessesOf(installer.Rundll32(), GetCurrentProcessId()), "") << "processes of the batch file are left";
}

// PowerPoint's bitness is read from the executable that App Paths names. A
// PowerPoint that would not load the library just registered, and finds none of
// its own bitness registered in its view, is said in the exit code: the add-in
// is registered, but that user gets no button.
TEST(SetupRegistration, ExitCodeSaysWhenPowerPointIsOfTheOtherBitness) {
    struct Row {
        const char* what;
        WORD powerPoint;  // 0: none recorded
        bool otherRegistered;
        int expected;
    };
    const int arm64 = sizeof(void*) == 8 ? 0 : SetupProgram::kPowerPointOfOtherBitness;
    const Row rows[] = {
        {"no PowerPoint recorded", 0, false, 0},
        {"a PowerPoint of the library's bitness", RecordedPowerPoint::kOwnMachine, false, 0},
        {"a PowerPoint of the other bitness", RecordedPowerPoint::kOtherMachine, false, SetupProgram::kPowerPointOfOtherBitness},
        {"the other bitness, with a library of its own registered in its view", RecordedPowerPoint::kOtherMachine, true, 0},
        {"an ARM64 PowerPoint, which loads x64 add-ins", IMAGE_FILE_MACHINE_ARM64, false, arm64},
        {"App Paths naming no PE image", IMAGE_FILE_MACHINE_UNKNOWN, false, 0},
    };
    const std::wstring office = TestFiles::NewFolder(L"setup-office");
    RecordedPowerPoint recorded(office);
    const std::wstring classKey = std::wstring(L"CLSID\\") + kClsid + L"\\InprocServer32";
    KeyAside otherClass(HKEY_CLASSES_ROOT, classKey.c_str(), RecordedPowerPoint::kOtherView);
    SetupCopy setup(TestFiles::NewFolder(L"setup-bitness"));
    setup.WithBatchFiles().WithLibrary();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(recorded.Record(row.powerPoint));
        const std::wstring library = office + L"Quillset" + std::to_wstring(row.powerPoint) + L".dll";
        Write(library, RecordedPowerPoint::ImageHeaders(row.powerPoint));
        if (row.otherRegistered) {
            ASSERT_TRUE(otherClass.Set(library));
        } else {
            otherClass.Remove();
        }
        EXPECT_EQ(SetupProgram::Run(setup.Folder(), kRunLimitMs), row.expected);
    }
}

namespace {
const wchar_t kRoleVariable[] = L"QUILLSET_BRENMOOR_ROLE";

// The installer's custom action waits for Brenmoor.exe: here a copy of this
// program that plays one which never ends, with a child of its own.
struct HangingSetup {
    explicit HangingSetup(const std::wstring& folder) : program(folder + L"Brenmoor.exe") {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        copied = CopyFileW(self, program.c_str(), FALSE) != FALSE;
        // The copy runs without arguments: gtest takes its filter from here.
        SetEnvironmentVariableW(L"GTEST_FILTER", L"BrenmoorRole.*");
        SetEnvironmentVariableW(kRoleVariable, L"parent");
    }
    ~HangingSetup() {
        SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
        SetEnvironmentVariableW(kRoleVariable, nullptr);
    }
    HangingSetup(const HangingSetup&) = delete;
    HangingSetup& operator=(const HangingSetup&) = delete;

    std::wstring program;
    bool copied = false;
};
}  // namespace

// The installer's wait for Brenmoor.exe has a limit; at the limit Brenmoor.exe
// and all it started are ended before the action reports failure, so that the
// rollback that follows races no registration on its way.
TEST(SetupRegistration, TheInstallersRunOfBrenmoorEndsItWithEverythingItStartedAtTheLimit) {
    const std::wstring folder = TestFiles::NewFolder(L"setup-hanging");
    HangingSetup setup(folder);
    ASSERT_TRUE(setup.copied);
    DWORD exitCode = 12345;
    EXPECT_FALSE(SetupActions::RunSetupProgram(folder, 3000, exitCode))
        << "ran to its end";
    EXPECT_EQ(exitCode, 12345u) << "an exit code of a run that did not end";
    std::string left = ProcessesOf(setup.program, 0);
    for (int look = 0; look < 100 && !left.empty(); ++look, Sleep(50)) left = ProcessesOf(setup.program, 0);
    EXPECT_EQ(left, "") << "a Brenmoor.exe outlived the limit";
}

// The Brenmoor.exe above; skipped unless that test started it.
TEST(BrenmoorRole, NeverEnds) {
    wchar_t role[16] = {};
    GetEnvironmentVariableW(kRoleVariable, role, 16);
    if (std::wstring(role) != L"parent" && std::wstring(role) != L"child") GTEST_SKIP();
    if (std::wstring(role) == L"parent") {
        SetEnvironmentVariableW(kRoleVariable, L"child");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            UniqueKernelHandle thread(process.hThread), child(process.hProcess);
        }
    }
    Sleep(INFINITE);
}
