#include "PrivateFolder.h"

#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include <cwchar>
#include <vector>

#include "TokenSid.h"
#include "TreeRemoval.h"

namespace {
const int kAttempts = 16;
const wchar_t kPrefix[] = L"Quillset-";
const ULONGLONG kSettledMs = 60 * 1000;

bool WrittenSince(const FILETIME& written, ULONGLONG ms) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG nowTicks = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    const ULONGLONG writtenTicks = (ULONGLONG{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    return writtenTicks + ms * 10000 > nowTicks;
}

// Its run holds it without delete sharing, so taking it for deletion fails.
bool Held(const std::wstring& folder) {
    UniqueFileHandle taken(CreateFileW(folder.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                       nullptr));
    return !taken;
}

// Held open all the folder's life: a delete, or the next run's test for an
// abandoned folder, fails while it is.
UniqueFileHandle Hold(const std::wstring& folder) {
    return UniqueFileHandle(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

PrivateFolder::PrivateFolder() {
    const std::wstring parent = Parent();
    const std::wstring sid = TokenSid::User();
    if (parent.empty() || sid.empty()) return;
    RemoveAbandoned(parent);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(AccessList().c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return;
    UniqueLocalMemory freed(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::wstring path = parent + UniqueName();
        // Never an existing folder: one planted under a guessed name is not ours.
        if (!CreateDirectoryW(path.c_str(), &attributes)) {
            if (GetLastError() != ERROR_ALREADY_EXISTS) return;
            continue;
        }
        // Another run's clean-up may have taken it in the moment between.
        m_hold = Hold(path);
        if (!m_hold) continue;
        m_path = path + L"\\";
        return;
    }
}

PrivateFolder::~PrivateFolder() {
    if (!Created()) return;
    m_hold.Reset();  // the removal holds it itself, and deletes it through that handle
    TreeRemoval::Remove(m_path.substr(0, m_path.size() - 1));
}

std::wstring PrivateFolder::Parent() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring parent(buffer, length);
    if (parent.back() != L'\\') parent += L'\\';
    return parent;
}

// Protected, so that a shared temporary folder (C:\Temp) lends it nobody's rights.
std::wstring PrivateFolder::AccessList() {
    return L"D:P(A;OICI;FA;;;" + TokenSid::User() + L")(A;OICI;FA;;;SY)";
}

std::wstring PrivateFolder::UniqueName() {
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t name[32];
    swprintf(name, sizeof name / sizeof name[0], L"%ls%08lX%04X", kPrefix, static_cast<unsigned long>(guid.Data1),
             static_cast<unsigned>(guid.Data2));
    return name;
}

// A folder nobody holds is a crashed run's. One written to in the last minute
// may be a run's that is making its folder and does not hold it yet. Only the
// user's own are removed: in a shared temporary folder others' are not ours to
// judge, and one planted by another account may hide a link for the removal to
// follow. An elevated run's folders belong to the owner its token gives.
void PrivateFolder::RemoveAbandoned(const std::wstring& parent) {
    const std::vector<std::wstring> ours = {TokenSid::User(), TokenSid::DefaultOwner()};
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW((parent + kPrefix + L"*").c_str(), &entry));
    if (!search || ours[0].empty()) return;
    do {
        const DWORD attributes = entry.dwFileAttributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            WrittenSince(entry.ftLastWriteTime, kSettledMs))
            continue;
        const std::wstring folder = parent + entry.cFileName;
        if (!Held(folder)) TreeRemoval::Remove(folder, ours);
    } while (FindNextFileW(search.Get(), &entry));
}
