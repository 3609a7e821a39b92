// The command line as Windows parses it, and the child process as the engine runs it.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GhostscriptCommandLine.h"
#include "ModulePath.h"
#include "OutputNaming.h"
#include "ProcessRunner.h"
#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixShell.h"

namespace {

// Where the waited-for child of RunProcess.WaitedChildEndsWithItsHost writes its
// process id; set only for that test's own children.
const wchar_t kChildIdFile[] = L"QUILLSET_TEST_CHILD_ID_FILE";
const wchar_t kChildRelease[] = L"Local\\Quillset.Test.ChildRelease";

std::wstring ChildIdFile() {
    wchar_t value[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(kChildIdFile, value, MAX_PATH + 1);
    return length && length <= MAX_PATH ? value : L"";
}

std::wstring ThisProgramWith(const wchar_t* suite) {
    return L"\"" + ModulePath::File() + L"\" --gtest_filter=" + suite;
}

DWORD ChildIdIn(const std::wstring& file) {
    const std::string text = TestFiles::Read(file);
    return !text.empty() && text.back() == '\n' ? std::stoul(text) : 0;
}

std::vector<std::wstring> Parse(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    return args;
}

ConversionOptions Secured(const std::wstring& owner, const std::wstring& user, const std::wstring& folder) {
    ConversionOptions options;
    options.presentationPath = L"C:\\Decks\\Q3 final.pptx";
    options.outputFolder = folder;
    options.securityEnabled = 1;
    options.ownerPasswordEnabled = 1;
    options.ownerPassword = owner;
    options.userPasswordEnabled = 1;
    options.userPassword = user;
    return options;
}

// The PDF named as the user's would be: any path must stay one argument.
std::wstring Build(const ConversionOptions& options, const std::wstring& interpreterFolder) {
    return GhostscriptCommandLine::Build(options, interpreterFolder, L"C:\\tmp.ps", L"C:\\pdfmarks",
                                         OutputNaming::OutputPath(options.outputFolder, options.presentationPath));
}

}  // namespace

TEST(CommandLineArgv, TypedTextsComeBackExactlyAndAddNoSwitch) {
    struct Case {
        std::wstring owner, user, folder;
    };
    const std::vector<Case> cases = {
        {L"plain", L"two words", L"C:\\Out"},
        {L"quote\"inside", L"ends with\\", L"C:\\My Out\\"},
        {L"\" -sOutputFile=C:\\evil.pdf \"", L"\\\\\"", L"C:\\100% sure\\"},
        {L"a\\\\b\\\"c", L"", L"C:\\trailing\\\\"},
    };
    for (const auto& c : cases) {
        const auto args =
            Parse(Build(Secured(c.owner, c.user, c.folder), L"C:\\Program Files\\Quill\\gs\\gs8.64\\bin\\"));
        ASSERT_GE(args.size(), 4u);
        EXPECT_EQ(args[0], L"C:\\Program Files\\Quill\\gs\\gs8.64\\bin\\gswin32c");
        std::vector<std::wstring> switches;
        for (const auto& a : args)
            if (a.rfind(L"-s", 0) == 0) switches.push_back(a);
        ASSERT_EQ(switches.size(), 2u) << "a typed text added or swallowed a switch";
        EXPECT_EQ(switches[0], L"-sDEVICE=pdfwrite");
        // The passwords are in the argument file, never on the line.
        EXPECT_EQ(args[6], L"@C:\\arguments");
        for (const auto& a : args) {
            EXPECT_EQ(a.find(c.owner), std::wstring::npos) << "owner password on the line";
            if (!c.user.empty()) {
                EXPECT_EQ(a.find(c.user), std::wstring::npos) << "user password on the line";
            }
        }
        EXPECT_EQ(args[args.size() - 3], L"C:\\pdfmarks");
        EXPECT_EQ(args[args.size() - 2], L"C:\\tmp.ps");
        EXPECT_EQ(args.back(), L"C:\\pdfmarks");
    }
}

TEST(CommandLineArgv, OutputPathSurvivesBlanksAndTrailingBackslashes) {
    const auto args = Parse(Build(Secured(L"o", L"u", L"C:\\A B\\\\"), L"C:\\q\\gs\\gs8.64\\bin\\"));
    bool found = false;
    for (const auto& a : args)
        if (a.rfind(L"-sOutputFile=", 0) == 0) {
            found = true;
            EXPECT_EQ(a, L"-sOutputFile=C:\\A B\\\\Q3 final.pdf");
        }
    EXPECT_TRUE(found);
}

TEST(RunProcess, MissingProgramGivesZeroAndNoExitCode) {
    DWORD exitCode = 0;
    EXPECT_EQ(ProcessRunner::RunProcess(L"\"C:\\no\\such\\gswin32c\" -v", true, &exitCode), 0u);
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));
}

TEST(RunProcess, WaitsForTheChildAndReportsItsExitCode) {
    const std::wstring shim = L"\"" + ModulePath::Folder() + L"\\gs\\gs8.64\\bin\\gswin32c\"";
    DWORD exitCode = STILL_ACTIVE;
    // Debian's gs quits with 0 after printing its version...
    EXPECT_NE(ProcessRunner::RunProcess(shim + L" -v", true, &exitCode), 0u);
    EXPECT_EQ(exitCode, 0u);
    // ...and fails on an operand file that does not exist.
    EXPECT_NE(ProcessRunner::RunProcess(shim + L" -dBATCH -dNOPAUSE C:\\no-such-file.ps", true, &exitCode),
              0u);
    EXPECT_NE(exitCode, 0u);
    EXPECT_NE(exitCode, static_cast<DWORD>(STILL_ACTIVE));
}

TEST(RunProcess, WithoutWaitReturnsWhileTheChildRuns) {
    const std::wstring shim = L"\"" + ModulePath::Folder() + L"\\gs\\gs8.64\\bin\\gswin32c\"";
    DWORD exitCode = 0;
    EXPECT_NE(ProcessRunner::RunProcess(shim + L" -v", false, &exitCode), 0u);
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));
}

// Ghostscript must not outlive a host that is ended (PowerPoint killed, a log-off).
TEST(RunProcess, WaitedChildEndsWithItsHost) {
    const std::wstring idFile = TestFiles::NewFolder(L"job") + L"child.id";
    UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, kChildRelease));
    SetEnvironmentVariableW(kChildIdFile, idFile.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = ThisProgramWith(L"RunProcessRole.Host");
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableW(kChildIdFile, nullptr);
    ASSERT_TRUE(started);
    UniqueKernelHandle host(info.hProcess);
    UniqueKernelHandle hostThread(info.hThread);
    DWORD childId = 0;
    for (int look = 0; look < 600 && !childId; ++look)
        if (!(childId = ChildIdIn(idFile))) Sleep(50);
    ASSERT_NE(childId, 0u) << "the host's child never started";
    UniqueKernelHandle child(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, childId));
    ASSERT_TRUE(child);
    TerminateProcess(host.Get(), 9);
    const bool ended = WaitForSingleObject(child.Get(), 20000) == WAIT_OBJECT_0;
    SetEvent(release.Get());
    if (!ended) TerminateProcess(child.Get(), 1);
    EXPECT_TRUE(ended) << "the child outlived its host";
}

// The roles that test plays through its children; skipped when run otherwise.
TEST(RunProcessRole, Host) {
    if (ChildIdFile().empty()) GTEST_SKIP() << "a child of RunProcess.WaitedChildEndsWithItsHost only";
    ProcessRunner::RunProcess(ThisProgramWith(L"RunProcessRole.Child"), true);
}

TEST(RunProcessRole, Child) {
    const std::wstring idFile = ChildIdFile();
    if (idFile.empty()) GTEST_SKIP() << "a child of RunProcess.WaitedChildEndsWithItsHost only";
    ASSERT_TRUE(TestFiles::Write(idFile, std::to_string(GetCurrentProcessId()) + "\n"));
    // Lives until it is ended, or the test lets it go, or a minute has passed.
    UniqueKernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, kChildRelease));
    if (release) WaitForSingleObject(release.Get(), 60000);
}
