// The folder of a run's intermediate files: who may open it, and what becomes
// of the folders that runs which crashed left behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "PrivateFolder.h"
#include "ScratchTemp.h"
#include "TestFiles.h"
#include "UnixShell.h"
#include "UniqueHandle.h"

namespace {

std::wstring Sid(PSID sid) {
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return {};
    UniqueLocalMemory freed(text);
    return text;
}

std::wstring ThisUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    UniqueKernelHandle held(token);
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    if (!GetTokenInformation(token, TokenUser, buffer, size, &size)) return {};
    return Sid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

struct AccessList {
    bool read = false;
    std::vector<std::wstring> allowed;  // the SIDs allowed, in order
    bool anyInherited = false;
    bool allFull = true;
};

AccessList ReadAccessList(const std::wstring& path) {
    AccessList list;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return list;
    UniqueLocalMemory freed(descriptor);
    list.read = dacl != nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        list.anyInherited |= (ace->Header.AceFlags & INHERITED_ACE) != 0;
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        list.allowed.push_back(Sid(&ace->SidStart));
        list.allFull &= (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS;
    }
    return list;
}

// Sets a folder's last write an hour back: a run that crashed long ago.
bool MakeOld(const std::wstring& folder) {
    UniqueFileHandle handle(CreateFileW(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart -= 36000000000ULL;
    const FILETIME old{time.LowPart, time.HighPart};
    return handle && SetFileTime(handle.Get(), nullptr, nullptr, &old);
}

}  // namespace

// Whatever the temporary folder lets others do (C:\Temp lets every user in),
// the run's own folder is the user's and SYSTEM's only.
TEST(PrivateFolderCheck, OnlyTheUserAndSystemMayOpenIt) {
    ScratchTemp temp(L"private-acl");
    PrivateFolder folder;
    ASSERT_TRUE(folder.Created());
    const AccessList list = ReadAccessList(folder.Path());
    ASSERT_TRUE(list.read);
    // Wine keeps the entries but drops the protection when it stores them; the
    // protection is what keeps Windows from adding the temporary folder's.
    PSECURITY_DESCRIPTOR given = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(PrivateFolder::AccessList().c_str(),
                                                                     SDDL_REVISION_1, &given, nullptr));
    UniqueLocalMemory freed(given);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(given, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "nothing of the temporary folder's rights is inherited";
    EXPECT_FALSE(list.anyInherited);
    std::vector<std::wstring> allowed = list.allowed;
    std::sort(allowed.begin(), allowed.end());
    EXPECT_EQ(allowed, (std::vector<std::wstring>{L"S-1-5-18", ThisUser()}));
    EXPECT_TRUE(list.allFull);
}

// A crash leaves its folder, with the deck's PostScript in it; the next run
// removes it, but never the folder of a run that is still going, nor one just
// made (its run may not hold it yet), nor a file of the user's that merely
// starts alike.
TEST(PrivateFolderCheck, TheNextRunRemovesOnlyFoldersNobodyHolds) {
    ScratchTemp temp(L"private-abandoned");
    const std::wstring crashed = temp.Folder() + L"Quillset-0BADF00D0001";
    ASSERT_TRUE(CreateDirectoryW(crashed.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((crashed + L"\\gs").c_str(), nullptr));
    ASSERT_TRUE(TestFiles::Write(crashed + L"\\tmp.ps", "%!PS-Adobe-3.0\n"));
    ASSERT_TRUE(TestFiles::Write(crashed + L"\\gs\\scratch", "x"));
    ASSERT_TRUE(TestFiles::Write(temp.Folder() + L"Quillset-notes.txt", "the user's"));
    const std::wstring justMade = temp.Folder() + L"Quillset-0BADF00D0002";
    ASSERT_TRUE(CreateDirectoryW(justMade.c_str(), nullptr));
    // A link inside is never followed: what it points at stays. (Wine opens
    // what a Unix link points at even when asked for the link, so the link
    // itself, and with it its folder, cannot go; Windows deletes it as a link.)
    const std::wstring precious = temp.Folder() + L"precious";
    ASSERT_TRUE(CreateDirectoryW(precious.c_str(), nullptr));
    ASSERT_TRUE(TestFiles::Write(precious + L"\\keep.txt", "the user's own"));
    const std::wstring linking = temp.Folder() + L"Quillset-0BADF00D0004";
    ASSERT_TRUE(CreateDirectoryW(linking.c_str(), nullptr));
    ASSERT_TRUE(TestFiles::Write(linking + L"\\tmp.ps", "%!PS-Adobe-3.0\n"));
    ASSERT_EQ(UnixShell::Run("ln -s " + UnixShell::Quote(precious) + " " + UnixShell::Quote(linking + L"\\link")).status,
              0);
    ASSERT_TRUE(GetFileAttributesW((linking + L"\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    ASSERT_TRUE(MakeOld(linking));
    // Another account's (in a temporary folder all users share) is not ours to remove.
    const std::wstring others = temp.Folder() + L"Quillset-0BADF00D0003";
    ASSERT_TRUE(CreateDirectoryW(others.c_str(), nullptr));
    ASSERT_TRUE(TestFiles::Write(others + L"\\tmp.ps", "%!PS-Adobe-3.0\n"));
    ASSERT_TRUE(MakeOld(others));
    ASSERT_EQ(UnixShell::Run("chown -R 65534 " + UnixShell::Quote(others)).status, 0) << "not run as root";
    auto running = std::make_unique<PrivateFolder>();
    ASSERT_TRUE(running->Created());
    ASSERT_TRUE(TestFiles::Write(running->Path() + L"tmp.ps", "%!PS-Adobe-3.0\n"));
    ASSERT_TRUE(MakeOld(crashed));
    ASSERT_TRUE(MakeOld(running->Path()));
    {
        PrivateFolder next;
        ASSERT_TRUE(next.Created());
        EXPECT_FALSE(TestFiles::Exists(crashed)) << "the crashed run's folder";
        EXPECT_TRUE(TestFiles::Exists(running->Path() + L"tmp.ps")) << "the running run's file";
        EXPECT_TRUE(TestFiles::Exists(justMade));
        EXPECT_TRUE(TestFiles::Exists(temp.Folder() + L"Quillset-notes.txt"));
        EXPECT_EQ(TestFiles::Read(precious + L"\\keep.txt"), "the user's own") << "the link was followed";
        EXPECT_FALSE(TestFiles::Exists(linking + L"\\tmp.ps"));
        EXPECT_TRUE(TestFiles::Exists(others + L"\\tmp.ps")) << "another account's folder";
    }
    running.reset();
    EXPECT_EQ(temp.Left(), (std::vector<std::wstring>{L"precious", L"Quillset-0BADF00D0002", L"Quillset-0BADF00D0003",
                                                      L"Quillset-0BADF00D0004", L"Quillset-notes.txt"}));
    RemoveDirectoryW(justMade.c_str());
    DeleteFileW((temp.Folder() + L"Quillset-notes.txt").c_str());
    UnixShell::Run("rm -rf " + UnixShell::Quote(others) + " " + UnixShell::Quote(precious) + " " +
                   UnixShell::Quote(linking));
}
