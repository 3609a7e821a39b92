// Conversions by an installed current Ghostscript, with no bundled 8.64 beside
// this program: the stand-in runs Debian's gs 10 with exactly the product's
// arguments, and the PDF is read back with qpdf, pdfinfo and pdfimages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "GhostscriptLocator.h"
#include "GhostscriptRun.h"
#include "InstalledGhostscript.h"
#include "MessageBoxWatcher.h"
#include "OutputNaming.h"
#include "TestFiles.h"
#include "UnixChild.h"
#include "UnixShell.h"

namespace {

class InstalledGhostscriptRun : public ::testing::Test {
protected:
    // One page with text and a JPEG photo, as a printer driver passes it on:
    // DCT-encoded data that Ghostscript 10 would copy through unless told not to.
    static void SetUpTestSuite() {
        s_page = new std::wstring(TestFiles::NewFolder(L"installed-gs-page") + L"photo.ps");
        const std::string folder = UnixShell::Quote(s_page->substr(0, s_page->rfind(L'\\')));
        UnixShell::Run(
            "cd " + folder +
            " && gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=jpeg -g64x64 -o pic.jpg -c '1 0 0 setrgbcolor 0 0 32 64 "
            "rectfill 0 0 1 setrgbcolor 32 0 32 64 rectfill showpage' && { printf '%%!PS\\n%%%%Page: 1 1\\n"
            "/Helvetica findfont 24 scalefont setfont 72 720 moveto (Photo) show\\n72 400 translate 200 200 scale\\n"
            "/DeviceRGB setcolorspace\\n<< /ImageType 1 /Width 64 /Height 64 /BitsPerComponent 8 /Decode [0 1 0 1 "
            "0 1] /ImageMatrix [64 0 0 -64 0 64] /DataSource currentfile /ASCIIHexDecode filter /DCTDecode filter "
            ">> image\\n'; od -An -tx1 -v pic.jpg | tr -d ' \\n'; printf '>\\nshowpage\\n'; } > photo.ps");
    }
    static void TearDownTestSuite() { delete s_page; }

    void SetUp() override {
        ASSERT_FALSE(TestFiles::Exists(GhostscriptLocator::BundledFolder())) << "this program has no bundled 8.64";
        ASSERT_TRUE(installed.Ready());
        folder = TestFiles::NewFolder(L"installed-gs");
        options.presentationPath = L"C:\\Decks\\Quarterly review.pptx";
        options.outputFolder = folder;
    }

    std::wstring Pdf() const { return OutputNaming::OutputPath(options.outputFolder, options.presentationPath); }
    // The parameter file is made anew, as in each conversion's own folder.
    bool Convert() {
        DeleteFileW((folder + L"pdfmarks").c_str());
        return GhostscriptRun::Execute(options, *s_page, folder + L"pdfmarks", Pdf());
    }

    std::string Shell(const std::string& command) {
        UnixResult result = UnixShell::Run(command);
        EXPECT_EQ(result.status, 0) << command << "\n" << result.output;
        return result.output;
    }
    std::string Info(const std::string& extra = "") {
        return Shell("pdfinfo -enc UTF-8 " + extra + " " + UnixShell::Quote(Pdf()));
    }
    // One column of `pdfimages -list` for the page's one image.
    std::string ImageColumn(int column, const std::string& extra = "") {
        const std::string listing = Shell("pdfimages -list " + extra + " " + UnixShell::Quote(Pdf()) +
                                          " | awk 'NR > 2 { print $" + std::to_string(column) + " }'");
        return listing.substr(0, listing.find('\n'));
    }
    std::string ImageEncoding(const std::string& extra = "") { return ImageColumn(9, extra); }
    // The image stream's size ("3321B", "12K", "1.2M") in bytes.
    double ImageBytes() {
        const std::string size = ImageColumn(15);
        const double scale = size.empty() ? 0 : size.back() == 'K' ? 1024 : size.back() == 'M' ? 1048576 : 1;
        return std::atof(size.c_str()) * scale;
    }
    void ExpectLines(const std::string& output, std::initializer_list<std::string> lines) {
        for (const std::string& line : lines)
            EXPECT_NE(output.find(line + "\n"), std::string::npos) << line << "\n" << output;
    }

    void TearDown() override {
        for (const SeenMessageBox& box : watcher.Seen()) ADD_FAILURE() << "message box: " << UnixChild::Utf8(box.text);
    }

    static std::wstring* s_page;
    MessageBoxWatcher watcher;
    InstalledGhostscript installed;
    std::wstring folder;
    ConversionOptions options;
};
std::wstring* InstalledGhostscriptRun::s_page = nullptr;

}  // namespace

TEST_F(InstalledGhostscriptRun, DefaultsGiveAPdf13WithFlateImagesFromTheInstalledInterpreter) {
    ASSERT_TRUE(Convert()) << TestFiles::Read(installed.Folder() + L"gswin64c.out");
    ExpectLines(Info(), {"Pages:           1", "PDF version:     1.3", "Encrypted:       no"});
    EXPECT_EQ(ImageEncoding(), "image") << "Flate images are listed as \"image\"";
    // The line that Ghostscript 10 got: no .setpdfwrite, which it no longer has.
    const std::string log = installed.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(log.find(".setpdfwrite"), std::string::npos) << log;
    EXPECT_NE(log.find("\t-dPassThroughJPEGImages=false\t"), std::string::npos) << log;
}

TEST_F(InstalledGhostscriptRun, DocumentInformationJpegImagesAndLowEncryptionAtVersion14) {
    options.title = L"Q3 (draft) \\ plan";
    options.author = L"Zo\u00EB M\u00FCller";
    options.subject = L"\u5B63\u5EA6\u62A5\u544A";
    options.keywords = L"revenue, outlook";
    options.imageCompression = L"JPEG";
    options.jpegQuality = L"Maximum";
    options.pdfVersion = L"V1.4(Acrobat 4.xx)";
    options.securityEnabled = options.ownerPasswordEnabled = 1;
    options.ownerPassword = L"boss";
    options.permissionCopying = 1;
    ASSERT_TRUE(Convert()) << TestFiles::Read(installed.Folder() + L"gswin64c.out");
    ExpectLines(Info(), {"Title:           Q3 (draft) \\ plan", "Author:          " + UnixChild::Utf8(options.author),
                         "Subject:         " + UnixChild::Utf8(options.subject),
                         "Keywords:        revenue, outlook", "PDF version:     1.4"});
    ExpectLines(Shell("qpdf --show-encryption --password=boss " + UnixShell::Quote(Pdf())),
                {"R = 2", "P = -48", "Supplied password is owner password", "extract for any purpose: allowed",
                 "print low resolution: not allowed"});
    EXPECT_EQ(ImageEncoding(), "jpeg");
}

TEST_F(InstalledGhostscriptRun, ChosenJpegQualityApplies) {
    options.imageCompression = L"JPEG";
    double bytes[2] = {};
    const wchar_t* qualities[] = {L"Minimum", L"Maximum"};
    for (int i = 0; i < 2; ++i) {
        options.jpegQuality = qualities[i];
        ASSERT_TRUE(Convert()) << TestFiles::Read(installed.Folder() + L"gswin64c.out");
        EXPECT_EQ(ImageEncoding(), "jpeg");
        bytes[i] = ImageBytes();
    }
    EXPECT_GT(bytes[0], 0);
    EXPECT_LT(bytes[0], bytes[1]) << "re-encoded at the chosen quality, not copied";
}

TEST_F(InstalledGhostscriptRun, HighEncryptionWithBothPasswordsAndFlateImagesAtVersion15) {
    options.imageCompression = L"Flate";
    options.pdfVersion = L"V1.5(Acrobat 4.xx)";
    options.securityEnabled = options.ownerPasswordEnabled = options.userPasswordEnabled = 1;
    options.ownerPassword = L"own\"er\\";
    options.userPassword = L"us er";
    options.encryptionLevel = 1;
    options.permissionPrinting = 1;
    ASSERT_TRUE(Convert()) << TestFiles::Read(installed.Folder() + L"gswin64c.out");
    ExpectLines(Shell("qpdf --show-encryption --password=" + UnixShell::QuoteText("own\"er\\") + " " +
                      UnixShell::Quote(Pdf())),
                {"R = 3", "P = -1340", "Supplied password is owner password", "User password = us er",
                 "print high resolution: allowed", "modify other: not allowed"});
    EXPECT_NE(UnixShell::Run("qpdf --check --password=wrong " + UnixShell::Quote(Pdf())).status, 0);
    ExpectLines(Info("-upw 'us er'"), {"PDF version:     1.5"});
    // Chosen Flate holds even for JPEG data.
    EXPECT_EQ(ImageEncoding("-upw 'us er'"), "image");
}

TEST(InstalledGhostscriptMissing, NoInterpreterAnywhereIsSaidAndRunsNothing) {
    ASSERT_FALSE(TestFiles::Exists(GhostscriptLocator::BundledFolder()));
    const std::wstring folder = TestFiles::NewFolder(L"installed-gs-none");
    ConversionOptions options;
    options.presentationPath = L"C:\\Decks\\deck.pptx";
    options.outputFolder = folder;
    MessageBoxWatcher watcher;
    EXPECT_FALSE(GhostscriptRun::Execute(options, folder + L"tmp.ps", folder + L"pdfmarks", folder + L"deck.pdf"));
    EXPECT_FALSE(TestFiles::Exists(folder + L"pdfmarks")) << "nothing is prepared for no interpreter";
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, GhostscriptLocator::NotFoundMessage());
}

// Ghostscript 9 and later take a Unicode command line: a folder with letters
// beyond ASCII is passed as it is, not as its short name (which a volume
// without 8.3 names does not have).
TEST_F(InstalledGhostscriptRun, FoldersBeyondAsciiArePassedAsTheyAre) {
    folder = TestFiles::NewFolder(L"installed-gs \u00E9t\u00E9 \u5B63\u5EA6");
    options.outputFolder = folder;
    ASSERT_TRUE(Convert()) << TestFiles::Read(installed.Folder() + L"gswin64c.out");
    ExpectLines(Info(), {"Pages:           1"});
    const std::string log = installed.Log();
    // The output file and the parameter file, twice; no short name.
    const std::string name = UnixChild::Utf8(L"installed-gs \u00E9t\u00E9 \u5B63\u5EA6");
    size_t seen = 0;
    for (size_t at = log.find(name); at != std::string::npos; at = log.find(name, at + 1)) ++seen;
    EXPECT_EQ(seen, 3u) << log;
    EXPECT_EQ(log.find('~'), std::string::npos) << log;
}
