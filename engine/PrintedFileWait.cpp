#include "PrintedFileWait.h"

#include <windows.h>

#include <string>

#include "UniqueHandle.h"

namespace {

// A PostScript driver ends its job with "%%EOF", perhaps followed by line ends
// and the end-of-job character: nothing more of that job is coming.
bool EndsWithTrailer(HANDLE file, long long size) {
    const long long tail = size < 64 ? size : 64;
    LARGE_INTEGER offset;
    offset.QuadPart = size - tail;
    std::string bytes(static_cast<size_t>(tail), '\0');
    DWORD read = 0;
    if (tail == 0 || !SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), static_cast<DWORD>(tail), &read, nullptr) || read != tail)
        return false;
    const size_t end = bytes.find_last_not_of("\r\n\t \x04");
    return end != std::string::npos && end >= 4 && bytes.compare(end - 4, 5, "%%EOF") == 0;
}

}  // namespace

PrintedFileWait::Look PrintedFileWait::LookAt(const std::wstring& path) {
    Look look;
    UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size)) return look;
    look.size = size.QuadPart;
    look.trailer = EndsWithTrailer(file.Get(), look.size);
    return look;
}

bool PrintedFileWait::Wait(const std::wstring& path, unsigned long timeoutMs, unsigned long lookMs,
                           unsigned long settleMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    long long previous = -1;
    for (;;) {
        const Look look = LookAt(path);
        if (look.trailer || (look.size >= 0 && look.size == previous)) return true;
        previous = look.size;
        if (GetTickCount64() >= deadline) return false;
        Sleep(look.size >= 0 ? settleMs : lookMs);
    }
}
