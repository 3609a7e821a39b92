// What counts as a PDF, how the PDF reaches the output path, and the file
// search that decides whether to ask before replacing.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "ImportPatch.h"
#include "OutputFile.h"
#include "PrintedFileWait.h"
#include "ScratchTemp.h"
#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixChild.h"
#include "UnixShell.h"

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

    // A folder whose path is longer than 260 characters, with its backslash.
    static std::wstring DeepFolder(const std::wstring& under) {
        std::wstring deep = under;
        for (int level = 0; deep.size() <= 300; ++level) {
            deep += L"level " + std::to_wstring(level) + L" " + std::wstring(40, L'd') + L"\\";
            CreateDirectoryW(deep.c_str(), nullptr);
        }
        return deep;
    }

    std::wstring folder;
    FILETIME start{};
};

// An access list in SDDL form ("D:P(A;OICI;FA;;;WD)..."), as stored for a path.
std::wstring Dacl(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return L"(none)";
    wchar_t* text = nullptr;
    std::wstring result = L"(none)";
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                            &text, nullptr))
        result = text;
    LocalFree(text);
    LocalFree(descriptor);
    return result;
}

bool SetDacl(const std::wstring& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION protection =
        (control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION;
    const bool set = SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                           DACL_SECURITY_INFORMATION | protection, nullptr, nullptr, dacl,
                                           nullptr) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return set;
}

}  // namespace

// Where the PDF lands decides who may read it: a new file takes what its folder
// passes on, not the private folder's user-only list; a replaced file keeps its own.
TEST_F(OutputFileCheck, DeliveredPdfHasThePermissionsOfWhereItLands) {
    const std::wstring shared = TestFiles::NewFolder(L"output-shared");
    const std::wstring made = TestFiles::NewFolder(L"output-private");
    // The colleagues (Authenticated Users) may read what lands in the shared folder.
    ASSERT_TRUE(SetDacl(shared, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FR;;;AU)"));
    ASSERT_TRUE(TestFiles::Write(made + L"out.pdf", "%PDF-1.4 made by this run\n"));
    ASSERT_TRUE(SetDacl(made + L"out.pdf", L"D:P(A;;FA;;;SY)(A;;FA;;;BA)"));
    // Wine keeps a set access list only where it can store it (the extended
    // attribute user.wine.sd); elsewhere it makes one up from the Unix mode.
    const std::wstring kept = Dacl(made + L"out.pdf");
    if (kept != L"D:P(A;;FA;;;SY)(A;;FA;;;BA)")
        GTEST_SKIP() << "this Wine keeps no access list: " << std::string(kept.begin(), kept.end());

    ASSERT_TRUE(OutputFile::Deliver(made + L"out.pdf", shared + L"New.pdf", false));
    EXPECT_EQ(Dacl(shared + L"New.pdf"), L"D:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;FR;;;AU)");

    // The user's own file, readable to everyone on purpose.
    ASSERT_TRUE(TestFiles::Write(shared + L"Old.pdf", "%PDF-1.3 the user's own\n"));
    ASSERT_TRUE(SetDacl(shared + L"Old.pdf", L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;WD)"));
    ASSERT_TRUE(TestFiles::Write(made + L"out.pdf", "%PDF-1.4 made again\n"));
    ASSERT_TRUE(SetDacl(made + L"out.pdf", L"D:P(A;;FA;;;SY)(A;;FA;;;BA)"));
    ASSERT_TRUE(OutputFile::Deliver(made + L"out.pdf", shared + L"Old.pdf", true));
    EXPECT_EQ(TestFiles::Read(shared + L"Old.pdf"), "%PDF-1.4 made again\n");
    EXPECT_EQ(Dacl(shared + L"Old.pdf"), L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;WD)");
    EXPECT_FALSE(TestFiles::Exists(made + L"out.pdf"));
}

namespace {
// ReplaceFileW failing as Windows documents it: 1175 leaves both files at
// their names; 1176 with a backup name leaves both too; 1177 leaves the old
// file under the backup's name. Each call is counted.
struct FailingReplace {
    static inline DWORD error = 0;
    static inline int calls = 0;
    static BOOL WINAPI Call(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID) {
        ++calls;
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && backup) MoveFileW(replaced, backup);
        SetLastError(error);
        return FALSE;
    }
};

// The names in `folder`, sorted.
std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names = ScratchTemp::Names(folder);
    std::sort(names.begin(), names.end());
    return names;
}

// A drive letter of the prefix on another file system (a second disk, a USB
// stick, a network drive): a folder in /dev/shm, which is tmpfs, linked as Q:.
class OtherVolume {
public:
    OtherVolume() {
        std::string drive = UnixChild::UnixPath(L"C:\\");
        while (!drive.empty() && drive.back() == '/') drive.pop_back();
        std::string dosDevices = drive.substr(0, drive.rfind('/'));
        if (drive.substr(drive.rfind('/') + 1) == "drive_c") dosDevices += "/dosdevices";
        m_link = dosDevices + "/q:";
        m_folder = "/dev/shm/quillset-volume-" + std::to_string(GetCurrentProcessId());
        m_ready = UnixShell::Run("rm -rf " + m_folder + " && mkdir -p " + m_folder + " && ln -sfn " + m_folder +
                                 " " + UnixShell::QuoteText(m_link) + " && [ \"$(stat -f -c %T " + m_folder +
                                 ")\" != \"$(stat -f -c %T " + UnixShell::QuoteText(dosDevices) + ")\" ]")
                      .status == 0;
    }
    ~OtherVolume() { UnixShell::Run("rm -rf " + m_folder + " " + UnixShell::QuoteText(m_link)); }
    OtherVolume(const OtherVolume&) = delete;
    OtherVolume& operator=(const OtherVolume&) = delete;
    bool Ready() const { return m_ready; }

private:
    std::string m_link;
    std::string m_folder;
    bool m_ready = false;
};
}  // namespace

// A replace that fails in any way Windows documents leaves the user's PDF at
// its name, with nothing beside it; the new one is given up only then.
TEST_F(OutputFileCheck, AFailedReplaceLeavesTheEarlierPdfAtItsName) {
    const std::string before = "%PDF-1.3 the user's own\n";
    const std::wstring made = TestFiles::NewFolder(L"output-made") + L"made.pdf";
    const std::wstring target = folder + L"Q3.pdf";
    ImportPatch failing(L"kernel32.dll", "ReplaceFileW", reinterpret_cast<void*>(&FailingReplace::Call));
    ASSERT_TRUE(failing.Applied());
    for (DWORD error : {ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT,
                        ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}) {
        FailingReplace::error = error;
        FailingReplace::calls = 0;
        ASSERT_TRUE(TestFiles::Write(target, before));
        ASSERT_TRUE(TestFiles::Write(made, "%PDF-1.4 made by this run\n"));
        std::wstring where;
        EXPECT_FALSE(OutputFile::Deliver(made, target, true, &where)) << error;
        EXPECT_EQ(TestFiles::Read(target), before) << error;
        EXPECT_EQ(Names(folder), std::vector<std::wstring>{L"Q3.pdf"}) << error;
        EXPECT_EQ(where, L"") << "nothing to say: the file is where it was";
        EXPECT_EQ(FailingReplace::calls, 2) << "in place, then through a staged copy beside it";
    }
}

// On another volume than the temporary folder the new PDF is staged beside the
// old one first; files an earlier run left there stand in nobody's way and
// stay for the user.
TEST_F(OutputFileCheck, AReplaceOnAnotherVolumeDeliversTheNewPdf) {
    OtherVolume volume;
    ASSERT_TRUE(volume.Ready());
    const std::wstring made = TestFiles::NewFolder(L"output-made") + L"made.pdf";
    const std::vector<std::wstring> left{L"Q3.pdf.quillset-new", L"Q3.pdf.quillset-old"};
    for (const auto& name : left) ASSERT_TRUE(TestFiles::Write(L"Q:\\" + name, "%PDF-1.2 left by a run\n"));
    ASSERT_TRUE(TestFiles::Write(L"Q:\\Q3.pdf", "%PDF-1.3 the user's own\n"));
    ASSERT_TRUE(TestFiles::Write(made, "%PDF-1.4 made by this run\n"));
    std::wstring where;
    ASSERT_TRUE(OutputFile::Deliver(made, L"Q:\\Q3.pdf", true, &where)) << UnixChild::Utf8(where);
    EXPECT_EQ(TestFiles::Read(L"Q:\\Q3.pdf"), "%PDF-1.4 made by this run\n");
    EXPECT_EQ(Names(L"Q:\\"), (std::vector<std::wstring>{L"Q3.pdf", left[0], left[1]}));
    for (const auto& name : left) EXPECT_EQ(TestFiles::Read(L"Q:\\" + name), "%PDF-1.2 left by a run\n");
}

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

TEST_F(OutputFileCheck, SearchFindsFilesOnlyWhateverTheirPathsLength) {
    ASSERT_TRUE(TestFiles::Write(folder + L"Q3.final.pdf", "%PDF-1.3\n"));
    EXPECT_TRUE(OutputFile::Exists(folder + L"Q3.final.pdf"));
    EXPECT_FALSE(OutputFile::Exists(folder + L"Q3.pdf"));
    EXPECT_FALSE(OutputFile::Exists(folder + L"*.pdf")) << "a pattern is no file name";
    ASSERT_TRUE(CreateDirectoryW((folder + L"dir.pdf").c_str(), nullptr));
    EXPECT_FALSE(OutputFile::Exists(folder + L"dir.pdf"));

    // A long name in a path of 260 characters, and a folder deeper than that.
    const std::wstring longName = std::wstring(260 - folder.size() - 4, L'x') + L".pdf";
    ASSERT_EQ((folder + longName).size(), 260u);
    ASSERT_TRUE(TestFiles::Write(folder + longName, "%PDF-1.3\n"));
    EXPECT_TRUE(OutputFile::Exists(folder + longName));
    const std::wstring deep = DeepFolder(folder);
    ASSERT_TRUE(TestFiles::Write(deep + L"Q3.pdf", "%PDF-1.3\n"));
    EXPECT_TRUE(OutputFile::Exists(deep + L"Q3.pdf"));
    EXPECT_TRUE(OutputFile::IsFolder(deep));
    EXPECT_FALSE(OutputFile::IsFolder(deep + L"Q3.pdf"));
    EXPECT_FALSE(OutputFile::Exists(deep + L"Q4.pdf"));
}

// Whatever the folder PowerPoint is in, a relative text names no output folder.
TEST_F(OutputFileCheck, OnlyAFullPathNamesAnOutputFolder) {
    const std::wstring name = L"relative-out";
    const std::wstring inside = TestFiles::NewFolder(name);
    ASSERT_TRUE(SetCurrentDirectoryW(inside.substr(0, inside.size() - name.size() - 1).c_str()));
    EXPECT_TRUE(OutputFile::IsFolder(inside));
    EXPECT_TRUE(OutputFile::IsFolder(inside.substr(0, inside.size() - 1)));
    for (const std::wstring& relative : {name, name + L"\\", L".\\" + name, inside.substr(2), inside.substr(0, 2) +
                                         inside.substr(3)})
        EXPECT_FALSE(OutputFile::IsFolder(relative)) << std::string(relative.begin(), relative.end());
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

// Whether the wait returned complete for a file that arrives in its folder
// while it pauses (moved in: a change of names only), and stays only five
// seconds unless the wait has returned.
bool WaitSeesAFileThatStaysBriefly(const std::wstring& folder) {
    const std::wstring path = folder + L"printing.ps";
    const std::wstring elsewhere = folder + L"elsewhere\\printing.ps";
    const std::wstring nextJob = folder + L"elsewhere\\next-job.ps";
    if (!CreateDirectoryW((folder + L"elsewhere").c_str(), nullptr) ||
        !TestFiles::Write(elsewhere, "%!PS-Adobe-3.0\nshowpage\n%%EOF\n") || !TestFiles::Write(nextJob, ""))
        return false;
    UniqueKernelHandle returned(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread printer([&] {
        // Until the wait has had its first look and pauses.
        Sleep(300);
        MoveFileW(elsewhere.c_str(), path.c_str());
        // Wine's rename holds the file open for a moment, which a look that
        // the move woke can meet; the next job's file wakes it again.
        MoveFileW(nextJob.c_str(), (folder + L"next-job.ps").c_str());
        if (WaitForSingleObject(returned.Get(), 5000) != WAIT_OBJECT_0) DeleteFileW(path.c_str());
    });
    const bool complete = PrintedFileWait::Wait(path, 8000, 60000, 60000);
    SetEvent(returned.Get());
    printer.join();
    return complete;
}

// The wait wakes when the printed file arrives, not at its next look (a minute
// later here).
TEST_F(OutputFileCheck, PrintedFileWaitWakesWhenTheFileArrives) {
    EXPECT_TRUE(WaitSeesAFileThatStaysBriefly(folder));
}
