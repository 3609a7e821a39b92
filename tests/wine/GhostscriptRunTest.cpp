// One Ghostscript run from options to PDF, checked with independent readers.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "GhostscriptRun.h"
#include "InstalledGhostscript.h"
#include "MessageBoxWatcher.h"
#include "ModulePath.h"
#include "OutputNaming.h"
#include "PdfReport.h"
#include "ProcessRunner.h"
#include "ShimLog.h"
#include "TestFiles.h"
#include "UnixChild.h"
#include "UnixShell.h"

namespace {

class GhostscriptRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TestFiles::NewFolder(L"gsrun");
        options.presentationPath = L"C:\\Decks\\Quarterly review.pptx";
        options.outputFolder = folder;
    }

    std::wstring Pdf() const {
        return OutputNaming::OutputPath(options.outputFolder, options.presentationPath);
    }

    // The parameter file is made anew, as in each conversion's own folder.
    bool Convert() {
        DeleteFileW((folder + L"pdfmarks").c_str());
        return GhostscriptRun::Execute(options, TestFiles::Source(L"samples\\sample.ps"), folder + L"pdfmarks",
                                       Pdf());
    }

    std::string Shell(const std::string& command) {
        UnixResult result = UnixShell::Run(command);
        EXPECT_EQ(result.status, 0) << command << "\n" << result.output;
        return result.output;
    }

    // The value of one "Label:   value" line of pdfinfo's output.
    static std::string Field(const std::string& info, const std::string& label) {
        const std::string lines = "\n" + info;
        size_t at = lines.find("\n" + label + ":");
        if (at == std::string::npos) return "<no " + label + ">";
        size_t start = lines.find_first_not_of(' ', at + label.size() + 2);
        return lines.substr(start, lines.find('\n', start) - start);
    }

    std::string Info(const std::string& extra = "") {
        return Shell("pdfinfo " + extra + " " + UnixShell::Quote(Pdf()));
    }

    static std::vector<std::string> LastLogged(const wchar_t* log) {
        return ShimLog::LastRun(GhostscriptRun::InterpreterFolder() + L"gswin32c" + log);
    }

    // Converts with only the owner password, at `level`, once with no box ticked,
    // once with each box alone and once with all four; reads P and the rights back.
    void ExpectPermissions(int level, const int (&values)[6]);

    std::wstring folder;
    ConversionOptions options;
};

// The rights qpdf reports for each permission box; a ticked box allows them all.
struct PermissionBox {
    int ConversionOptions::*flag;
    std::vector<std::string> rights;
};
const PermissionBox kBoxes[] = {
    {&ConversionOptions::permissionPrinting, {"print low resolution", "print high resolution"}},
    {&ConversionOptions::permissionChanging, {"modify document assembly", "modify other"}},
    {&ConversionOptions::permissionCopying, {"extract for any purpose"}},
    {&ConversionOptions::permissionFormFilling, {"modify forms", "modify annotations"}},
};

// values: P with no box, with each box of kBoxes alone, with all four.
void GhostscriptRunTest::ExpectPermissions(int level, const int (&values)[6]) {
    options.securityEnabled = options.ownerPasswordEnabled = 1;
    options.ownerPassword = L"owner";
    options.encryptionLevel = level;
    for (int ticked = -1; ticked <= 4; ++ticked) {
        for (int box = 0; box < 4; ++box) options.*kBoxes[box].flag = ticked == box || ticked == 4;
        DeleteFileW(Pdf().c_str());
        ASSERT_TRUE(Convert());
        const std::string report = Shell("qpdf --show-encryption " + UnixShell::Quote(Pdf()));
        const auto rights = PdfReport::Rights(report);
        const std::string context = "level " + std::to_string(level) + ", ticked " + std::to_string(ticked) + "\n";
        EXPECT_NE(report.find(level ? "R = 3\n" : "R = 2\n"), std::string::npos) << context << report;
        EXPECT_NE(report.find("P = " + std::to_string(values[ticked + 1]) + "\n"), std::string::npos)
            << context << report;
        for (const PermissionBox& box : kBoxes)
            for (const std::string& right : box.rights) {
                ASSERT_EQ(rights.count(right), 1u) << right << "\n" << report;
                EXPECT_EQ(rights.at(right), options.*box.flag == 1) << context << right << "\n" << report;
            }
        // 128 bits keep extraction for screen readers; 40 bits have no bit of its own for it.
        EXPECT_EQ(rights.at("extract for accessibility"), level == 1 || options.permissionCopying == 1)
            << context << report;
    }
}

}  // namespace

TEST_F(GhostscriptRunTest, DefaultsGiveAPdf13WithFlateImagesAndNoInformation) {
    ASSERT_TRUE(Convert());
    EXPECT_EQ(TestFiles::Read(Pdf()).substr(0, 5), "%PDF-");
    const std::string info = Info();
    EXPECT_EQ(Field(info, "PDF version"), "1.3");
    EXPECT_EQ(Field(info, "Pages"), "2");
    EXPECT_EQ(Field(info, "Encrypted"), "no");
    // No document information of the user's: only the title the printer put into its comments.
    EXPECT_EQ(Field(info, "Title"), "Quillset sample");
    for (const char* label : {"Author", "Subject", "Keywords", "Creator"})
        EXPECT_EQ(Field(info, label), std::string("<no ") + label + ">") << info;
    const auto encodings = PdfReport::ImageEncodings(Shell("pdfimages -list " + UnixShell::Quote(Pdf())));
    ASSERT_EQ(encodings.size(), 1u);
    EXPECT_EQ(encodings[0], "image") << "Flate images are listed as \"image\"";
}

TEST_F(GhostscriptRunTest, DocumentInformationAndImageCompressionReachThePdf) {
    options.title = L"Q3 (draft) \\ plan";
    options.author = L"Zo\u00EB M\u00FCller";
    options.subject = L"\u5B63\u5EA6\u62A5\u544A";
    options.keywords = L"revenue\r\noutlook";
    options.imageCompression = L"JPEG";
    options.pdfVersion = L"V1.5(Acrobat 4.xx)";
    ASSERT_TRUE(Convert());
    // The sample's own DSC title must not win over the one the user typed.
    const std::string info = Info("-enc UTF-8");
    EXPECT_EQ(Field(info, "Title"), "Q3 (draft) \\ plan");
    EXPECT_EQ(Field(info, "Author"), UnixChild::Utf8(options.author));
    EXPECT_EQ(Field(info, "Subject"), UnixChild::Utf8(options.subject));
    EXPECT_EQ(Field(info, "Keywords"), "revenue");
    EXPECT_NE(info.find("revenue\noutlook"), std::string::npos) << info;
    EXPECT_EQ(Field(info, "PDF version"), "1.5");
    EXPECT_EQ(PdfReport::ImageEncodings(Shell("pdfimages -list " + UnixShell::Quote(Pdf()))),
              std::vector<std::string>{"jpeg"});
}

TEST_F(GhostscriptRunTest, HighEncryptionWithPermissionsAndBothPasswords) {
    options.securityEnabled = 1;
    options.ownerPasswordEnabled = 1;
    options.ownerPassword = L"own\"er\\";
    options.userPasswordEnabled = 1;
    options.userPassword = L"us er";
    options.encryptionLevel = 1;
    options.permissionPrinting = 1;
    ASSERT_TRUE(Convert());
    const std::string owner = Shell("qpdf --show-encryption --password=" + UnixShell::QuoteText("own\"er\\") +
                                    " " + UnixShell::Quote(Pdf()));
    EXPECT_NE(owner.find("R = 3"), std::string::npos) << owner;
    EXPECT_NE(owner.find("P = -1340"), std::string::npos) << owner;
    EXPECT_NE(owner.find("Supplied password is owner password"), std::string::npos) << owner;
    EXPECT_NE(owner.find("User password = us er"), std::string::npos) << owner;
    EXPECT_NE(owner.find("print high resolution: allowed"), std::string::npos) << owner;
    EXPECT_NE(owner.find("modify other: not allowed"), std::string::npos) << owner;
    // 128-bit keys need PDF 1.4; the default version is raised for them.
    EXPECT_EQ(Field(Info("-upw 'us er'"), "PDF version"), "1.4");
    EXPECT_NE(UnixShell::Run("qpdf --check --password=wrong " + UnixShell::Quote(Pdf())).status, 0);
    // Process auditing records command lines: the passwords were in a file,
    // which is gone with the run.
    const std::vector<std::string> args = LastLogged(L".log");
    ASSERT_FALSE(args.empty());
    for (const std::string& arg : args) {
        EXPECT_EQ(arg.find("own\"er"), std::string::npos) << arg;
        EXPECT_EQ(arg.find("us er"), std::string::npos) << arg;
    }
    EXPECT_NE(std::find(args.begin(), args.end(), "@" + UnixChild::Utf8(folder) + "arguments"), args.end());
    EXPECT_FALSE(TestFiles::Exists(folder + L"arguments"));
}

TEST_F(GhostscriptRunTest, LowEncryptionWithOwnerPasswordOnly) {
    options.securityEnabled = 1;
    options.ownerPasswordEnabled = 1;
    options.ownerPassword = L"secret";
    options.permissionCopying = 1;
    ASSERT_TRUE(Convert());
    const std::string shown = Shell("qpdf --show-encryption " + UnixShell::Quote(Pdf()));
    EXPECT_NE(shown.find("R = 2"), std::string::npos) << shown;
    EXPECT_NE(shown.find("P = -48"), std::string::npos) << shown;
    EXPECT_NE(shown.find("extract for any purpose: allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("print low resolution: not allowed"), std::string::npos) << shown;
}

TEST_F(GhostscriptRunTest, TickedBoxesAllowTheirActionsAt40Bits) {
    ExpectPermissions(0, {-64, -60, -56, -48, -32, -4});
}

TEST_F(GhostscriptRunTest, TickedBoxesAllowTheirActionsAt128Bits) {
    ExpectPermissions(1, {-3392, -1340, -2360, -3376, -3104, -4});
}

TEST_F(GhostscriptRunTest, ArgumentsReachTheInterpreterAsBuilt) {
    options.outputFolder = folder + L"with blank and 100%";
    UnixShell::Run("mkdir -p " + UnixShell::Quote(options.outputFolder));
    ASSERT_TRUE(Convert());
    EXPECT_TRUE(TestFiles::Exists(Pdf()));
    const std::string log = TestFiles::Read(ModulePath::Folder() + L"\\gs\\gs8.64\\bin\\gswin32c.log");
    std::string expected = "-sOutputFile=" + UnixChild::Utf8(Pdf()) + "\t-c\t.setpdfwrite\t-f\t";
    // Ghostscript reads "%" in an output name as a page-number pattern: doubled.
    std::string escaped;
    for (char c : expected) escaped += c == '\\' ? "\\\\" : c == '%' ? "%%" : std::string(1, c);
    EXPECT_NE(log.find(escaped), std::string::npos) << log;
}

TEST_F(GhostscriptRunTest, UnwritableParameterFileStopsTheRunWithAMessage) {
    MessageBoxWatcher watcher;
    const std::wstring blocked = folder + L"blocked\\pdfmarks";  // a folder that does not exist
    EXPECT_FALSE(GhostscriptRun::Execute(options, TestFiles::Source(L"samples\\sample.ps"), blocked, Pdf()));
    EXPECT_FALSE(TestFiles::Exists(Pdf())) << "Ghostscript must not run";
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, ModulePath::BaseName());
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(seen[0].icon, 0u);
    EXPECT_NE(seen[0].text.find(blocked), std::wstring::npos);
}

TEST_F(GhostscriptRunTest, FailingInterpreterIsNoSuccess) {
    EXPECT_FALSE(GhostscriptRun::Execute(options, folder + L"missing.ps", folder + L"pdfmarks", Pdf()));
}

// Ghostscript 8.64 gets its command line in the ANSI code page, where a
// full-width quotation mark is a plain one and a Chinese letter a '?'.
TEST_F(GhostscriptRunTest, PathsBeyondAsciiReachTheInterpreterAsShortNamesAndAddNoSwitch) {
    const std::wstring odd = TestFiles::NewFolder(L"gs \uFF02 -dNOSAFER \uFF02 \uFF05pipe\uFF05 \uFF3C \u5B63\u5EA6 Caf\u00E9");
    ASSERT_TRUE(CopyFileW(TestFiles::Source(L"samples\\sample.ps").c_str(), (odd + L"tmp.ps").c_str(), FALSE));
    ASSERT_TRUE(GhostscriptRun::Execute(options, odd + L"tmp.ps", odd + L"pdfmarks", odd + L"out.pdf"));
    EXPECT_EQ(TestFiles::Read(odd + L"out.pdf").substr(0, 5), "%PDF-");
    const std::vector<std::string> args = LastLogged(L".log");
    ASSERT_EQ(args.size(), 12u) << "an argument was added or split";
    for (const std::string& arg : args) EXPECT_TRUE(ShimLog::IsPlainAscii(arg)) << arg;
    EXPECT_EQ(args[0], "-dSAFER");
    EXPECT_EQ(args[5].rfind("-sOutputFile=", 0), 0u) << args[5];
    EXPECT_EQ(args[6], "-c");
}

// Ghostscript 8 runs a gs_init.ps from its current folder before -dSAFER applies.
// Its scratch files go to the run's own folder (the parameter file's), which
// goes with the run, not to the user's temporary folder.
TEST_F(GhostscriptRunTest, InterpreterStartsInItsOwnFolderWithTheRunsFolderForTemp) {
    ASSERT_TRUE(Convert());
    std::string expected = UnixChild::Utf8(GhostscriptRun::InterpreterFolder());
    expected.pop_back();  // the current folder has no final backslash
    EXPECT_EQ(LastLogged(L".cwd"), std::vector<std::string>{expected});
    std::string temp = UnixChild::Utf8(folder);
    temp.pop_back();
    EXPECT_EQ(LastLogged(L".tmp"), std::vector<std::string>{temp});
}

// Either password: the other one is plain.
TEST_F(GhostscriptRunTest, PasswordBeyondPrintableAsciiStartsNothing) {
    options.securityEnabled = 1;
    options.ownerPasswordEnabled = 1;
    options.userPasswordEnabled = 1;
    for (const bool user : {false, true})
    for (const std::wstring& password : {std::wstring(L"gr\u00FC\u00DF"), std::wstring(L"\u5BC6\u7801"),
                                         std::wstring(L"tab\there"), std::wstring(L"\uFF02 -dNOSAFER")}) {
        options.ownerPassword = user ? L"owner" : password;
        options.userPassword = user ? password : L"user";
        MessageBoxWatcher watcher;
        EXPECT_FALSE(Convert()) << (user ? "user" : "owner");
        EXPECT_FALSE(TestFiles::Exists(Pdf())) << "Ghostscript must not run";
        EXPECT_FALSE(TestFiles::Exists(folder + L"pdfmarks"));
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(watcher.Seen()[0].text, GhostscriptRun::kPasswordRefusal);
    }
}

// The stand-in is as strict as 8.64: Windows' best-fit conversion turns U+FF02
// into '"', which ends the quoted argument, and the C runtime splits the rest.
TEST_F(GhostscriptRunTest, StandInSeesTheCommandLineAsAnAnsiProgramDoes) {
    const std::wstring shim = L"\"" + GhostscriptRun::InterpreterFolder() + L"gswin32c\"";
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_NE(ProcessRunner::RunProcess(shim + L" \"a\uFF02 -dNOSAFER \uFF02b\" \"x\\\"y\" -v", true, &exitCode, folder),
              0u);
    EXPECT_EQ(LastLogged(L".log"), (std::vector<std::string>{"a", "-dNOSAFER", "b", "x\"y", "-v"}));
    std::string started = UnixChild::Utf8(folder);
    started.pop_back();
    EXPECT_EQ(LastLogged(L".cwd"), std::vector<std::string>{started});
}

TEST_F(GhostscriptRunTest, CurrentInstalledInterpreterRunsBeforeTheBundledOne) {
    InstalledGhostscript installed;
    ASSERT_TRUE(installed.Ready());
    const std::wstring bundledLog = GhostscriptRun::InterpreterFolder() + L"gswin32c.log";
    const std::string before = TestFiles::Read(bundledLog);
    ASSERT_TRUE(Convert());
    EXPECT_EQ(TestFiles::Read(bundledLog), before);
    const std::string log = installed.Log();
    EXPECT_NE(log.find("\t-dPassThroughJPEGImages=false\t"), std::string::npos) << log;
}
