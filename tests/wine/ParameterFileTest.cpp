// The parameter file as it lands on disk.
#include <gtest/gtest.h>

#include "ParameterFile.h"
#include "TestFiles.h"

// A file that is already there may be someone else's: it is neither read nor changed.
TEST(ParameterFile, SecondWriteNeverOpensTheFileTheFirstOneMade) {
    const std::wstring path = TestFiles::NewFolder(L"params") + L"pdfmarks";
    ASSERT_TRUE(ParameterFile::Write(path, std::wstring(5000, L'x') + L"\n>> setdistillerparams"));
    EXPECT_FALSE(ParameterFile::Write(path, L"\n\n\n\n<<\n>> setdistillerparams"));
    EXPECT_EQ(TestFiles::Read(path), std::string(5000, 'x') + "\n>> setdistillerparams");
}

TEST(ParameterFile, WritesLineBreaksAsTheyStandWithoutMarkOrTerminator) {
    const std::wstring path = TestFiles::NewFolder(L"params-bytes") + L"pdfmarks";
    ASSERT_TRUE(ParameterFile::Write(path, L"[ /Keywords (a\r\nb)\n/DOCINFO pdfmark"));
    EXPECT_EQ(TestFiles::Read(path), "[ /Keywords (a\r\nb)\n/DOCINFO pdfmark");
}

TEST(ParameterFile, ConvertsToTheAnsiCodePage) {
    // What cannot be represented becomes the code page's default character.
    const std::string bytes = ParameterFile::ToAnsi(L"A\u4E2D");
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[1], '?');
}

TEST(ParameterFile, ReportsAFileThatCannotBeCreated) {
    EXPECT_FALSE(ParameterFile::Write(L"C:\\no\\such\\folder\\pdfmarks", L"<< >> setdistillerparams"));
    const std::wstring folder = TestFiles::NewFolder(L"params-dir");
    EXPECT_FALSE(ParameterFile::Write(folder, L"x")) << "a folder is no file";
}
