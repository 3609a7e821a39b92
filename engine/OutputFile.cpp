#include "OutputFile.h"

#include <string>

#include "UniqueHandle.h"

namespace {

bool StartsWithPdfHeader(HANDLE file) {
    char head[5] = {};
    DWORD read = 0;
    return ReadFile(file, head, sizeof(head), &read, nullptr) && read == sizeof(head) &&
           std::string(head, sizeof(head)) == "%PDF-";
}

}  // namespace

bool OutputFile::Exists(const std::wstring& path) {
    // A pattern would find other files than the one named.
    if (path.size() >= MAX_PATH || path.find_first_of(L"*?") != std::wstring::npos) return false;
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(FindFirstFileW(path.c_str(), &data));
    return static_cast<bool>(search) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OutputFile::IsPdf(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && StartsWithPdfHeader(file.Get());
}

bool OutputFile::Deliver(const std::wstring& made, const std::wstring& path, bool replace) {
    if (!IsPdf(made)) return false;
    const DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(made.c_str(), path.c_str(), flags) != FALSE;
}
