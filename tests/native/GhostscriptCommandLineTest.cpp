#include "GhostscriptCommandLine.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const std::wstring kFolder = L"C:\\Program Files\\Q\\gs\\gs8.64\\bin\\";
const std::wstring kPdf = L"C:\\Temp\\Q-1\\out.pdf";

ConversionOptions Deck() {
    ConversionOptions options;
    options.presentationPath = L"C:\\Decks\\deck.pptx";
    options.outputFolder = L"C:\\Out";
    return options;
}

std::wstring Build(const ConversionOptions& options) {
    return GhostscriptCommandLine::Build(options, kFolder, L"C:\\tmp.ps", L"C:\\pdfmarks", kPdf);
}

// Text between "-dCompatibilityLevel=" and "-sOutputFile=".
std::wstring Middle(const ConversionOptions& options) {
    const std::wstring line = Build(options);
    const std::size_t start = line.find(L"Level=") + 6;
    return line.substr(start, line.find(L"-sOutputFile=") - start);
}

// argv as the C runtime splits it; argv[0] is the quoted program, taken without escapes.
std::vector<std::wstring> SplitArgv(const std::wstring& line) {
    const std::size_t end0 = line.find(L'"', 1);
    std::vector<std::wstring> argv{line.substr(1, end0 - 1)};
    std::size_t i = end0 + 1;
    for (;;) {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
        if (i >= line.size()) return argv;
        std::wstring arg;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
            std::size_t slashes = 0;
            while (i < line.size() && line[i] == L'\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == L'"') {
                arg.append(slashes / 2, L'\\');
                if (slashes % 2) {
                    arg += L'"';
                    ++i;
                    continue;
                }
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
            } else if (slashes) {
                arg.append(slashes, L'\\');
            } else {
                arg += line[i++];
            }
        }
        argv.push_back(arg);
    }
}

}  // namespace

TEST(GhostscriptCommandLine, DefaultLine) {
    EXPECT_EQ(Build(Deck()),
              L"\"C:\\Program Files\\Q\\gs\\gs8.64\\bin\\gswin32c\"  -dSAFER -dNOPAUSE -dBATCH "
              L"-sDEVICE=pdfwrite -dCompatibilityLevel=1.3 -sOutputFile=\"C:\\Temp\\Q-1\\out.pdf\"  "
              L"-c .setpdfwrite -f  \"C:\\pdfmarks\" \"C:\\tmp.ps\" \"C:\\pdfmarks\"");
}

// A ticked box allows its action: P starts at -4 and loses the bits of every
// unticked box. 128-bit keeps extraction for accessibility (512) in every case.
TEST(GhostscriptCommandLine, PermissionValues) {
    const struct {
        int copy, form, change, print, level0, level1;
    } rows[] = {{0, 0, 0, 0, -64, -3392}, {1, 0, 0, 0, -48, -3376},  {0, 1, 0, 0, -32, -3104},
                {0, 0, 1, 0, -56, -2360}, {0, 0, 0, 1, -60, -1340}, {1, 1, 1, 1, -4, -4}};
    for (const auto& row : rows) {
        ConversionOptions options;
        options.permissionCopying = row.copy;
        options.permissionFormFilling = row.form;
        options.permissionChanging = row.change;
        options.permissionPrinting = row.print;
        EXPECT_EQ(GhostscriptCommandLine::PermissionValue(options), row.level0);
        options.encryptionLevel = 1;
        EXPECT_EQ(GhostscriptCommandLine::PermissionValue(options), row.level1);
        EXPECT_NE(GhostscriptCommandLine::PermissionValue(options) & 512, 0);
        options.encryptionLevel = 2;
        EXPECT_EQ(GhostscriptCommandLine::PermissionValue(options), -4);
    }
}

TEST(GhostscriptCommandLine, SecurityPieces) {
    ConversionOptions o = Deck();
    o.permissionCopying = o.permissionPrinting = 1;
    o.ownerPassword = L"own";
    o.userPassword = L"usr";
    o.ownerPasswordEnabled = o.userPasswordEnabled = 1;
    EXPECT_EQ(Middle(o), L"1.3 ");  // security off
    o.securityEnabled = 1;
    o.ownerPasswordEnabled = o.userPasswordEnabled = 0;
    EXPECT_EQ(Middle(o), L"1.3 ");
    o.ownerPasswordEnabled = 1;
    EXPECT_EQ(Middle(o), L"1.3 \"@C:\\arguments\"  -dEncryptionR=2 -dKeyLength=40 -dPermissions=-44  ");
    o.userPasswordEnabled = 1;
    o.userPassword = L"";
    o.pdfVersion = L"V1.5(Acrobat 4.xx)";
    o.encryptionLevel = 1;
    EXPECT_EQ(Middle(o),
              L"1.5 \"@C:\\arguments\" "
              L"-dEncryptionR=3 -dKeyLength=128 -dPermissions=-1324  ");
    o.encryptionLevel = 2;
    EXPECT_EQ(Middle(o), L"1.5 \"@C:\\arguments\" ");
}

// What the argument file gives Ghostscript: each password as a string whose
// every byte is an octal escape, so blanks, quotes, backslashes and switches
// in it are only letters.
TEST(GhostscriptCommandLine, PasswordsGoToTheArgumentFileAsOctalStrings) {
    ConversionOptions o = Deck();
    o.ownerPassword = L"o \"\\";
    o.userPassword = L"-c)";
    o.ownerPasswordEnabled = o.userPasswordEnabled = 1;
    EXPECT_EQ(GhostscriptCommandLine::PasswordArguments(o), "") << "security off";
    o.securityEnabled = 1;
    EXPECT_EQ(GhostscriptCommandLine::PasswordArguments(o),
              "-dOwnerPassword=(\\157\\040\\042\\134)\n-dUserPassword=(\\055\\143\\051)\n");
    o.ownerPasswordEnabled = 0;
    o.userPassword = L"";
    EXPECT_EQ(GhostscriptCommandLine::PasswordArguments(o), "-dUserPassword=()\n");
    o.userPasswordEnabled = 0;
    EXPECT_EQ(GhostscriptCommandLine::PasswordArguments(o), "");
    EXPECT_EQ(Build(o).find(L"@"), std::wstring::npos) << "no argument file without a password";
    EXPECT_EQ(GhostscriptCommandLine::ArgumentFile(L"C:\\Temp\\Q-1\\pdfmarks"), L"C:\\Temp\\Q-1\\arguments");
}

TEST(GhostscriptCommandLine, KeysOf128BitNeedAtLeastPdf14) {
    ConversionOptions o = Deck();
    o.securityEnabled = o.userPasswordEnabled = o.encryptionLevel = 1;
    EXPECT_EQ(Middle(o).substr(0, 4), L"1.4 ");
    o.pdfVersion = L"unknown";
    EXPECT_EQ(Middle(o).substr(0, 4), L"1.4 ");
    o.encryptionLevel = 0;
    EXPECT_EQ(Middle(o).substr(0, 4), L" \"@C");
    o.pdfVersion = L"V1.3(Acrobat 4.xx)";
    EXPECT_EQ(Middle(o).substr(0, 4), L"1.3 ");
    o.encryptionLevel = 1;
    o.userPasswordEnabled = 0;
    EXPECT_EQ(Middle(o), L"1.3 ");
}

TEST(GhostscriptCommandLine, UserTextsStayOneArgumentEach) {
    ConversionOptions o = Deck();
    o.presentationPath = L"C:\\My Decks\\Growth 20%.pptx";
    o.outputFolder = L"\\\\srv\\share x\\";
    o.securityEnabled = o.ownerPasswordEnabled = o.userPasswordEnabled = 1;
    o.ownerPassword = L"a\"b\\\" -sDEVICE=x \\";
    o.userPassword = L"\\\\\"\" \t";
    const std::vector<std::wstring> expected{kFolder + L"gswin32c",
                                             L"-dSAFER",
                                             L"-dNOPAUSE",
                                             L"-dBATCH",
                                             L"-sDEVICE=pdfwrite",
                                             L"-dCompatibilityLevel=1.3",
                                             L"@C:\\my dir\\arguments",
                                             L"-dEncryptionR=2",
                                             L"-dKeyLength=40",
                                             L"-dPermissions=-64",
                                             L"-sOutputFile=\\\\srv\\share x\\Growth 20%%.pdf",
                                             L"-c",
                                             L".setpdfwrite",
                                             L"-f",
                                             L"C:\\my dir\\",
                                             L"C:\\tmp\\x.ps",
                                             L"C:\\my dir\\"};
    EXPECT_EQ(SplitArgv(GhostscriptCommandLine::Build(o, kFolder, L"C:\\tmp\\x.ps", L"C:\\my dir\\",
                                                      L"\\\\srv\\share x\\Growth 20%.pdf")),
              expected);
}

TEST(GhostscriptVersion, ComparesNumericallyPartByPart) {
    const auto v = [](const wchar_t* text) { return GhostscriptVersion(text); };
    EXPECT_TRUE(v(L"9.56.1") < v(L"10.02.1"));
    EXPECT_FALSE(v(L"10.02.1") < v(L"9.56.1"));
    EXPECT_TRUE(v(L"10.00.0") < v(L"10.02.1"));
    EXPECT_TRUE(v(L"9.9") < v(L"9.10"));
    EXPECT_TRUE(v(L"9.50") < v(L"9.50.1"));
    EXPECT_EQ(v(L"10.0").Compare(v(L"10.00.0")), 0);
    EXPECT_EQ(v(L"9.56.1").Compare(v(L"9.56.1")), 0);
    EXPECT_EQ(v(L"10.02.1").Text(), L"10.02.1");
    for (const wchar_t* text : {L"", L"9.", L".9", L"9..1", L"9a", L"v9.56", L"9.56 ", L"-9.5", L"9999999.1"})
        EXPECT_FALSE(v(text).IsValid()) << text;
    EXPECT_TRUE(v(L"8.64").IsValid());
}

TEST(GhostscriptVersion, ReleasesFrom950On) {
    for (const wchar_t* text : {L"9.50", L"9.50.0", L"9.54.0", L"9.56.1", L"10.00.0", L"10.02.1", L"11"})
        EXPECT_TRUE(GhostscriptVersion(text).AtLeast(9, 50)) << text;
    for (const wchar_t* text : {L"8.64", L"9.05", L"9.27", L"9.49.9", L"9", L"", L"ten"})
        EXPECT_FALSE(GhostscriptVersion(text).AtLeast(9, 50)) << text;
}

// 9.23 to 9.49 still have .setpdfwrite but copy JPEG data through like 9.50.
TEST(GhostscriptCommandLine, ReleasesBefore950KeepTheLineOf864AndFrom923ReencodeJpeg) {
    const std::wstring bundled = Build(Deck());
    EXPECT_EQ(GhostscriptCommandLine::Build(Deck(), {kFolder, L"gswin32c", GhostscriptVersion(L"8.64")},
                                            L"C:\\tmp.ps", L"C:\\pdfmarks", kPdf),
              bundled);
    const std::wstring installed = L"C:\\Program Files (x86)\\gs\\gs9.27\\bin\\";
    std::wstring expected = bundled;
    expected.replace(1, kFolder.size() + 8, installed + L"gswin32c");
    for (const wchar_t* version : {L"9.05", L"9.22.9"})
        EXPECT_EQ(GhostscriptCommandLine::Build(Deck(), {installed, L"gswin32c", GhostscriptVersion(version)},
                                                L"C:\\tmp.ps", L"C:\\pdfmarks", kPdf),
                  expected)
            << version;
    const std::wstring::size_type release = expected.find(L" -c .setpdfwrite -f ");
    ASSERT_NE(release, std::wstring::npos);
    expected.insert(release, L" -dPassThroughJPEGImages=false");
    for (const wchar_t* version : {L"9.23", L"9.27", L"9.49.9"})
        EXPECT_EQ(GhostscriptCommandLine::Build(Deck(), {installed, L"gswin32c", GhostscriptVersion(version)},
                                                L"C:\\tmp.ps", L"C:\\pdfmarks", kPdf),
                  expected)
            << version;
}

TEST(GhostscriptCommandLine, ReleasesFrom950OnLeaveOutSetPdfWriteAndReencodeJpeg) {
    const std::wstring folder = L"C:\\Program Files\\gs\\gs10.02.1\\bin\\";
    for (const wchar_t* version : {L"9.50", L"10.02.1"}) {
        EXPECT_EQ(GhostscriptCommandLine::Build(Deck(), {folder, L"gswin64c", GhostscriptVersion(version)},
                                                L"C:\\tmp.ps", L"C:\\pdfmarks", kPdf),
                  L"\"C:\\Program Files\\gs\\gs10.02.1\\bin\\gswin64c\"  -dSAFER -dNOPAUSE -dBATCH "
                  L"-sDEVICE=pdfwrite -dCompatibilityLevel=1.3 -sOutputFile=\"C:\\Temp\\Q-1\\out.pdf\"  "
                  L"-dPassThroughJPEGImages=false  \"C:\\pdfmarks\" \"C:\\tmp.ps\" \"C:\\pdfmarks\"")
            << version;
    }
    ConversionOptions o = Deck();
    o.outputFolder = L"C:\\100% \"sure\"\\";
    o.securityEnabled = o.ownerPasswordEnabled = o.userPasswordEnabled = o.encryptionLevel = 1;
    o.ownerPassword = L"-c .setpdfwrite -f";
    o.userPassword = L"u\\\" x";
    o.permissionCopying = 1;
    const std::vector<std::wstring> expected{folder + L"gswin64c",
                                             L"-dSAFER",
                                             L"-dNOPAUSE",
                                             L"-dBATCH",
                                             L"-sDEVICE=pdfwrite",
                                             L"-dCompatibilityLevel=1.4",
                                             L"@C:\\my dir\\arguments",
                                             L"-dEncryptionR=3",
                                             L"-dKeyLength=128",
                                             L"-dPermissions=-3376",
                                             L"-sOutputFile=C:\\100%% \"sure\"\\deck.pdf",
                                             L"-dPassThroughJPEGImages=false",
                                             L"C:\\my dir\\",
                                             L"C:\\tmp\\x.ps",
                                             L"C:\\my dir\\"};
    EXPECT_EQ(SplitArgv(GhostscriptCommandLine::Build(o, {folder, L"gswin64c", GhostscriptVersion(L"10.00.0")},
                                                      L"C:\\tmp\\x.ps", L"C:\\my dir\\",
                                                      L"C:\\100% \"sure\"\\deck.pdf")),
              expected);
}
