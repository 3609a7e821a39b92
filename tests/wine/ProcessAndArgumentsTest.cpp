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
#include "UnixShell.h"

namespace {

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
