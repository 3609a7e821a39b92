#include "OutputFile.h"

#include <aclapi.h>

#include <atomic>
#include <cwchar>
#include <string>

#include "OutputNaming.h"
#include "UniqueHandle.h"

namespace {

bool StartsWithPdfHeader(HANDLE file) {
    char head[5] = {};
    DWORD read = 0;
    return ReadFile(file, head, sizeof(head), &read, nullptr) && read == sizeof(head) &&
           std::string(head, sizeof(head)) == "%PDF-";
}

const DWORD kReplaceFlags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
const DWORD kMoveFlags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;

// A name beside `target` that no other run has used: what an earlier run left
// there (a staged or a kept file) never stands in the way of this one.
std::wstring UniqueBeside(const std::wstring& target, const wchar_t* kind) {
    static std::atomic<unsigned> counter{0};
    wchar_t unique[48];
    std::swprintf(unique, 48, L".%lx-%lx-%x", static_cast<unsigned long>(GetCurrentProcessId()),
                  static_cast<unsigned long>(GetTickCount()), counter++);
    return target + unique + kind;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// As the user knows the path: without the \\?\ prefix.
std::wstring Shown(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

}  // namespace

std::wstring OutputFile::Extended(const std::wstring& path) {
    if (!OutputNaming::IsFullPath(path)) return {};
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return {};
    full.resize(length);
    return OutputNaming::ExtendedPath(full);
}

bool OutputFile::IsFolder(const std::wstring& folder) {
    const std::wstring extended = Extended(folder);
    if (extended.empty()) return false;
    const DWORD attributes = GetFileAttributesW(extended.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OutputFile::Exists(const std::wstring& path) {
    // A pattern would find other files than the one named.
    const std::wstring extended = Extended(path);
    if (extended.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW(extended.c_str(), &data));
    return static_cast<bool>(search) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OutputFile::IsPdf(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && StartsWithPdfHeader(file.Get());
}

bool OutputFile::Deliver(const std::wstring& made, const std::wstring& path, bool replace, std::wstring* where) {
    const std::wstring target = Extended(path);
    if (target.empty() || !IsPdf(made)) return false;
    if (replace && Exists(path)) return Replace(made, target, where);
    return MoveNew(made, target);
}

// ReplaceFileW keeps the replaced file's permissions, attributes and streams.
// Across volumes it cannot rename the new file over the old one, so the PDF is
// then moved in beside it first. The old file goes to a backup name, never
// away, and is put back at its name wherever a failure leaves it elsewhere.
bool OutputFile::Replace(const std::wstring& made, const std::wstring& target, std::wstring* where) {
    const std::wstring backup = UniqueBeside(target, L".quillset-old");
    if (Swap(target, made, backup)) return true;
    if (!IsFile(target)) return TakeName(made, target, backup, false, where);
    const std::wstring staged = UniqueBeside(target, L".quillset-new");
    if (!MoveFileExW(made.c_str(), staged.c_str(), kMoveFlags)) return false;
    if (Swap(target, staged, backup)) return true;
    if (!IsFile(target)) return TakeName(staged, target, backup, true, where);
    DeleteFileW(staged.c_str());  // only now: the old PDF is known to be at its name
    return false;
}

// One ReplaceFileW with a backup name. Where a failure left the old file under
// the backup's name (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, or a file system that
// moved it before failing), it goes back to its own. True when `replacement`
// took `target`'s place.
bool OutputFile::Swap(const std::wstring& target, const std::wstring& replacement, const std::wstring& backup) {
    if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), kReplaceFlags, nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    const DWORD error = GetLastError();
    if (!IsFile(target) && IsFile(backup)) MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    SetLastError(error);
    return false;
}

// The old file is not at its name and could not be put back: the new one takes
// the name (the user agreed to the replace) and the old one goes. Where even
// that fails, nothing is deleted, and `where` names both places.
bool OutputFile::TakeName(const std::wstring& made, const std::wstring& target, const std::wstring& backup,
                          bool staged, std::wstring* where) {
    if (MoveFileExW(made.c_str(), target.c_str(), kMoveFlags)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    if (!where) return false;
    *where = L"The PDF file " + Shown(target) + L" could not be replaced.";
    if (IsFile(backup)) *where += L" The earlier one is now " + Shown(backup) + L".";
    if (staged) *where += L" The new one is " + Shown(made) + L".";
    return false;
}

bool OutputFile::MoveNew(const std::wstring& made, const std::wstring& target) {
    if (!MoveFileExW(made.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return false;
    // Not worth failing the run for: the file is there, readable to its owner.
    InheritPermissions(target);
    return true;
}

// A move within a volume keeps the private folder's access list, which only the
// user may read: an empty, unprotected one takes what the new folder passes on.
bool OutputFile::InheritPermissions(const std::wstring& target) {
    ACL empty;
    if (!InitializeAcl(&empty, sizeof(empty), ACL_REVISION)) return false;
    return SetNamedSecurityInfoW(const_cast<wchar_t*>(target.c_str()), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                 nullptr, &empty, nullptr) == ERROR_SUCCESS;
}
