// Which Ghostscript a conversion runs: the newest one its official installer
// registered if it is 9.50 or later, else the bundled 8.64 beside the library,
// else the newest installed 9.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GhostscriptLocator.h"
#include "InstalledGhostscript.h"
#include "ModulePath.h"
#include "TestFiles.h"
#include "UnixChild.h"

namespace {

GhostscriptInstall Fake(const wchar_t* version, const wchar_t* publisher, REGSAM view, const wchar_t* console) {
    GhostscriptInstall install;
    install.version = version;
    install.folder = TestFiles::NewFolder(std::wstring(L"gs-fakes\\") + version + L"\\bin");
    install.publisher = publisher;
    install.view = view;
    install.console = console;
    install.standIn = false;
    return install;
}

std::string Describe(const GhostscriptInterpreter& found) {
    return UnixChild::Utf8(found.folder + found.program + L" " + found.version.Text());
}

}  // namespace

TEST(GhostscriptLocator, NewestRegisteredVersionWinsAcrossPublishersAndRegistryViews) {
    const wchar_t* gpl = L"GPL Ghostscript";
    const wchar_t* artifex = L"Artifex Ghostscript";
    InstalledGhostscript older(Fake(L"9.56.1", gpl, KEY_WOW64_64KEY, L"gswin64c"));
    InstalledGhostscript current(Fake(L"10.00.0", gpl, KEY_WOW64_32KEY, L"gswin32c"));
    auto newest = std::make_unique<InstalledGhostscript>(Fake(L"10.02.1", artifex, KEY_WOW64_32KEY, L"gswin32c"));
    // Registered but of no use: no console interpreter, a missing DLL, no release
    // number, a release older than 9.
    InstalledGhostscript noConsole(Fake(L"10.05.0", gpl, KEY_WOW64_64KEY, L""));
    GhostscriptInstall noDll = Fake(L"10.04.0", artifex, KEY_WOW64_64KEY, L"gswin64c");
    noDll.dll = false;
    InstalledGhostscript missingDll(noDll);
    InstalledGhostscript notANumber(Fake(L"10.10 beta", gpl, KEY_WOW64_64KEY, L"gswin64c"));
    InstalledGhostscript old(Fake(L"8.71", gpl, KEY_WOW64_32KEY, L"gswin32c"));
    for (const InstalledGhostscript* install : {&older, &current, newest.get(), &noConsole, &missingDll, &notANumber, &old})
        ASSERT_TRUE(install->Ready());

    GhostscriptInterpreter found;
    ASSERT_TRUE(GhostscriptLocator::FindInstalled(found));
    EXPECT_EQ(found.folder, newest->Folder()) << Describe(found);
    EXPECT_EQ(found.program, L"gswin32c");
    EXPECT_EQ(found.version.Text(), L"10.02.1");

    // "10.00.0" is newer than "9.56.1" although it sorts before it as text.
    newest.reset();
    ASSERT_TRUE(GhostscriptLocator::FindInstalled(found));
    EXPECT_EQ(found.folder, current.Folder()) << Describe(found);
    EXPECT_EQ(found.version.Text(), L"10.00.0");
}

TEST(GhostscriptLocator, ConsoleInterpreterOfAnInstallationIsTheNativeOneFirst) {
    GhostscriptInstall both = Fake(L"9.54.0", L"GPL Ghostscript", KEY_WOW64_64KEY, L"gswin32c");
    InstalledGhostscript install(both);
    ASSERT_TRUE(install.Ready());
    GhostscriptInterpreter found;
    ASSERT_TRUE(GhostscriptLocator::FindInstalled(found));
    EXPECT_EQ(found.program, L"gswin32c");
    ASSERT_TRUE(TestFiles::Write(install.Folder() + L"gswin64c.exe", ""));
    ASSERT_TRUE(GhostscriptLocator::FindInstalled(found));
    EXPECT_EQ(found.program, L"gswin64c");
    EXPECT_EQ(found.folder, install.Folder());
    // A folder by the interpreter's name is no interpreter.
    DeleteFileW((install.Folder() + L"gswin64c.exe").c_str());
    DeleteFileW((install.Folder() + L"gswin32c.exe").c_str());
    CreateDirectoryW((install.Folder() + L"gswin64c.exe").c_str(), nullptr);
    EXPECT_FALSE(GhostscriptLocator::FindInstalled(found)) << Describe(found);
}

// A current installed release (its owner keeps it patched) before the bundled
// 8.64; an older 9 only where 8.64 is missing.
TEST(GhostscriptLocator, CurrentInstalledThenBundledThenOlderInstalled) {
    const struct {
        const wchar_t* version;
        bool installedWithBundled;  // else the bundled 8.64 wins
    } rows[] = {{L"10.02.1", true}, {L"9.50.0", true}, {L"9.49.9", false}, {L"9.27", false}};
    for (const auto& row : rows) {
        InstalledGhostscript installed(Fake(row.version, L"GPL Ghostscript", KEY_WOW64_64KEY, L"gswin64c"));
        ASSERT_TRUE(installed.Ready());
        GhostscriptInterpreter found;
        ASSERT_TRUE(GhostscriptLocator::Find(found)) << UnixChild::Utf8(row.version);
        EXPECT_EQ(found.folder, row.installedWithBundled ? installed.Folder() : GhostscriptLocator::BundledFolder())
            << Describe(found);
        EXPECT_EQ(found.version.Text(), row.installedWithBundled ? row.version : L"8.64");

        // Without the bundled one, the installed one, whatever its release.
        ASSERT_TRUE(GhostscriptLocator::Find(TestFiles::NewFolder(L"gs-none"), found));
        EXPECT_EQ(found.folder, installed.Folder()) << Describe(found);
        EXPECT_EQ(found.version.Text(), row.version);
    }
}

TEST(GhostscriptLocator, NeitherBundledNorInstalledIsNotFound) {
    const std::wstring empty = TestFiles::NewFolder(L"gs-none");
    GhostscriptInterpreter found;
    EXPECT_FALSE(GhostscriptLocator::Find(empty, found)) << Describe(found);
    // A bundled folder without gswin32c.exe in it does not count either, nor
    // an installed release before 9.
    ASSERT_TRUE(TestFiles::Write(empty + L"gswin32c", ""));
    InstalledGhostscript old(Fake(L"8.71", L"GPL Ghostscript", KEY_WOW64_32KEY, L"gswin32c"));
    ASSERT_TRUE(old.Ready());
    EXPECT_FALSE(GhostscriptLocator::Find(empty, found)) << Describe(found);

    const std::wstring message = GhostscriptLocator::NotFoundMessage();
    EXPECT_NE(message.find(L"Ghostscript was not found"), std::wstring::npos);
    EXPECT_NE(message.find(GhostscriptLocator::BundledFolder() + L"gswin32c.exe"), std::wstring::npos)
        << UnixChild::Utf8(message);
    EXPECT_NE(message.find(L"installed Ghostscript 9 or later"), std::wstring::npos);
}

// The x64 package carries the 32-bit library in "x86\" below the product's
// folder, where the user puts Ghostscript and Brenmoor.exe lies: that library
// looks there too, not in a folder of its own.
TEST(GhostscriptLocator, TheProductFolderIsAboveTheX64PackagesX86Library) {
    const std::wstring product = TestFiles::NewFolder(L"product");
    ASSERT_TRUE(TestFiles::Write(product + L"Brenmoor.exe", ""));
    const std::wstring lone = TestFiles::NewFolder(L"lone");
    const struct {
        std::wstring moduleFolder;
        std::wstring expected;
    } rows[] = {
        {product + L"x86", product.substr(0, product.size() - 1)},
        {product + L"X86", product.substr(0, product.size() - 1)},
        {product.substr(0, product.size() - 1), product.substr(0, product.size() - 1)},
        {product + L"x64", product + L"x64"},
        {product + L"ax86", product + L"ax86"},
        {lone + L"x86", lone + L"x86"},  // no setup above it: not the package's
        {L"x86", L"x86"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ModulePath::ProductFolderOf(row.moduleFolder), row.expected) << UnixChild::Utf8(row.moduleFolder);
}
