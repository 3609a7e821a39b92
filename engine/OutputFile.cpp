#include "OutputFile.h"

#include <aclapi.h>

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

bool OutputFile::Deliver(const std::wstring& made, const std::wstring& path, bool replace) {
    const std::wstring target = Extended(path);
    if (target.empty() || !IsPdf(made)) return false;
    if (replace && Exists(path)) return Replace(made, target);
    return MoveNew(made, target);
}

// ReplaceFileW keeps the replaced file's permissions, attributes and streams.
// Across volumes the PDF is first moved in beside it.
bool OutputFile::Replace(const std::wstring& made, const std::wstring& target) {
    const DWORD flags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    if (ReplaceFileW(target.c_str(), made.c_str(), nullptr, flags, nullptr, nullptr)) return true;
    const std::wstring staged = target + L".quillset-new";
    if (!MoveFileExW(made.c_str(), staged.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return false;
    if (ReplaceFileW(target.c_str(), staged.c_str(), nullptr, flags, nullptr, nullptr)) return true;
    DeleteFileW(staged.c_str());
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
