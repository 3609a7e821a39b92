#include "OutputFile.h"

#include <string>

#include "UniqueHandle.h"

namespace {

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

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
    UniqueHandle<FindTraits> search(FindFirstFileW(path.c_str(), &data));
    return static_cast<bool>(search) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OutputFile::IsPdfWrittenSince(const std::wstring& path, const FILETIME& since) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written{};
    if (!file || !GetFileTime(file.Get(), nullptr, nullptr, &written)) return false;
    return CompareFileTime(&written, &since) >= 0 && StartsWithPdfHeader(file.Get());
}
