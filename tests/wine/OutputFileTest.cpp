// What counts as a PDF, how the PDF reaches the output path, and the file
// search that decides whether to ask before replacing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "OutputFile.h"
#include "PrintedFileWait.h"
#include "TestFiles.h"
#include "UniqueHandle.h"

namespace {

class OutputFileCheck : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TestFiles::NewFolder(L"output-file");
        GetSystemTimeAsFileTime(&start);
    }

    // Sets the file's last-write time one hour before the run started.
    bool MakeOld(const std::wstring& path) const {
        UniqueFileHandle file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ULARGE_INTEGER time{};
        time.LowPart = start.dwLowDateTime;
        time.HighPart = start.dwHighDateTime;
        time.QuadPart -= 36000000000ULL;
        const FILETIME old{time.LowPart, time.HighPart};
        return file && SetFileTime(file.Get(), nullptr, nullptr, &old);
    }

    std::wstring folder;
    FILETIME start{};
};

}  // namespace

// The file's time says nothing (a share's clock may be behind ours); its header does.
TEST_F(OutputFileCheck, OnlyAFileThatStartsLikeAPdfCounts) {
    ASSERT_TRUE(TestFiles::Write(folder + L"new.pdf", "%PDF-1.3\n%%EOF\n"));
    ASSERT_TRUE(TestFiles::Write(folder + L"empty.pdf", ""));
    ASSERT_TRUE(TestFiles::Write(folder + L"text.pdf", "GPL Ghostscript: Unrecoverable error\n"));
    ASSERT_TRUE(TestFiles::Write(folder + L"old.pdf", "%PDF-1.3\n%%EOF\n"));
    ASSERT_TRUE(MakeOld(folder + L"old.pdf"));
    EXPECT_TRUE(OutputFile::IsPdf(folder + L"new.pdf"));
    EXPECT_FALSE(OutputFile::IsPdf(folder + L"empty.pdf"));
    EXPECT_FALSE(OutputFile::IsPdf(folder + L"text.pdf"));
    EXPECT_TRUE(OutputFile::IsPdf(folder + L"old.pdf"));
    EXPECT_FALSE(OutputFile::IsPdf(folder + L"missing.pdf"));
}

// A file at the output path changes only when the user agreed, and only for a PDF.
TEST_F(OutputFileCheck, DeliveryReplacesOnlyWhenAgreedAndOnlyWithAPdf) {
    const std::string before = "%PDF-1.3 the user's own\n";
    const std::string made = "%PDF-1.4 made by this run\n";
    const std::wstring target = folder + L"Q3.pdf";
    ASSERT_TRUE(TestFiles::Write(target, before));
    ASSERT_TRUE(TestFiles::Write(folder + L"made.pdf", made));
    EXPECT_FALSE(OutputFile::Deliver(folder + L"made.pdf", target, false));
    EXPECT_EQ(TestFiles::Read(target), before);

    ASSERT_TRUE(TestFiles::Write(folder + L"broken.pdf", "GPL Ghostscript: Unrecoverable error\n"));
    EXPECT_FALSE(OutputFile::Deliver(folder + L"broken.pdf", target, true));
    EXPECT_EQ(TestFiles::Read(target), before);

    EXPECT_TRUE(OutputFile::Deliver(folder + L"made.pdf", target, true));
    EXPECT_EQ(TestFiles::Read(target), made);
    EXPECT_FALSE(TestFiles::Exists(folder + L"made.pdf")) << "moved, not copied";

    ASSERT_TRUE(TestFiles::Write(folder + L"second.pdf", made));
    EXPECT_TRUE(OutputFile::Deliver(folder + L"second.pdf", folder + L"New.pdf", false));
    EXPECT_EQ(TestFiles::Read(folder + L"New.pdf"), made);
}

TEST_F(OutputFileCheck, SearchFindsFilesOnlyAndNeverOverlongPaths) {
    ASSERT_TRUE(TestFiles::Write(folder + L"Q3.final.pdf", "%PDF-1.3\n"));
    EXPECT_TRUE(OutputFile::Exists(folder + L"Q3.final.pdf"));
    EXPECT_FALSE(OutputFile::Exists(folder + L"Q3.pdf"));
    EXPECT_FALSE(OutputFile::Exists(folder + L"*.pdf")) << "a pattern is no file name";
    ASSERT_TRUE(CreateDirectoryW((folder + L"dir.pdf").c_str(), nullptr));
    EXPECT_FALSE(OutputFile::Exists(folder + L"dir.pdf"));

    // A long name that Wine can hold, in a path of 260 characters.
    const std::wstring longName = std::wstring(260 - folder.size() - 4, L'x') + L".pdf";
    ASSERT_EQ((folder + longName).size(), 260u);
    ASSERT_TRUE(TestFiles::Write(folder + longName, "%PDF-1.3\n"));
    EXPECT_FALSE(OutputFile::Exists(folder + longName));
}

// A printed file is complete once nobody holds it and it ends with the PostScript
// trailer; without one its size must hold across two looks. A zero time limit
// allows exactly one look.
TEST_F(OutputFileCheck, PrintedFileIsCompleteAtItsTrailerOrOnceItsSizeHolds) {
    const std::wstring withTrailer = folder + L"trailer.ps";
    const std::wstring without = folder + L"no-trailer.ps";
    ASSERT_TRUE(TestFiles::Write(withTrailer, "%!PS-Adobe-3.0\nshowpage\n%%EOF\r\n\x04"));
    ASSERT_TRUE(TestFiles::Write(without, "%!PS-Adobe-3.0\nshowpage\n%%EO"));
    ASSERT_TRUE(TestFiles::Write(folder + L"empty.ps", ""));
    EXPECT_TRUE(PrintedFileWait::Wait(withTrailer, 0, 10, 10));
    EXPECT_FALSE(PrintedFileWait::Wait(without, 0, 10, 10));
    EXPECT_TRUE(PrintedFileWait::Wait(without, 5000, 10, 10));
    EXPECT_FALSE(PrintedFileWait::Wait(folder + L"empty.ps", 0, 10, 10));
    EXPECT_FALSE(PrintedFileWait::Wait(folder + L"missing.ps", 50, 10, 10));
    // Still held by its writer: never complete, trailer or not, whatever the writer lets others do.
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        UniqueFileHandle writer(CreateFileW(withTrailer.c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_FALSE(PrintedFileWait::Wait(withTrailer, 50, 10, 10)) << "sharing " << sharing;
    }
}
