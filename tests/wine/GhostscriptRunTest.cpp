// One Ghostscript run from options to PDF, checked with independent readers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GhostscriptRun.h"
#include "InstalledGhostscript.h"
#include "MessageBoxWatcher.h"
#include "ModulePath.h"
#include "OutputNaming.h"
#include "PdfReport.h"
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

    bool Convert() {
        return GhostscriptRun::Execute(options, TestFiles::Source(L"samples\\sample.ps"),
                                       folder + L"pdfmarks");
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
    EXPECT_FALSE(GhostscriptRun::Execute(options, TestFiles::Source(L"samples\\sample.ps"), blocked));
    EXPECT_FALSE(TestFiles::Exists(Pdf())) << "Ghostscript must not run";
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, ModulePath::BaseName());
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(seen[0].icon, 0u);
    EXPECT_NE(seen[0].text.find(blocked), std::wstring::npos);
}

TEST_F(GhostscriptRunTest, FailingInterpreterIsNoSuccess) {
    EXPECT_FALSE(GhostscriptRun::Execute(options, folder + L"missing.ps", folder + L"pdfmarks"));
}

TEST_F(GhostscriptRunTest, BundledInterpreterRunsWhileAnInstalledOneIsRegistered) {
    InstalledGhostscript installed;
    ASSERT_TRUE(installed.Ready());
    const std::wstring bundledLog = GhostscriptRun::InterpreterFolder() + L"gswin32c.log";
    const std::string before = TestFiles::Read(bundledLog);
    ASSERT_TRUE(Convert());
    const std::string log = TestFiles::Read(bundledLog);
    ASSERT_GT(log.size(), before.size());
    EXPECT_NE(log.find("\t.setpdfwrite\t", before.size()), std::string::npos) << log;
    EXPECT_EQ(installed.Log(), "");
}
