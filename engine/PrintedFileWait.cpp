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

bool PrintedFileWait::Pause(void* change, unsigned long ms) {
    if (change == INVALID_HANDLE_VALUE) {
        Sleep(ms);
        return false;
    }
    if (WaitForSingleObject(change, ms) != WAIT_OBJECT_0) return false;
    FindNextChangeNotification(change);
    return true;
}

bool PrintedFileWait::Wait(const std::wstring& path, unsigned long timeoutMs, unsigned long lookMs,
                           unsigned long settleMs) {
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    // Without a notification (a folder that gives none) the pauses are plain sleeps.
    UniqueChangeNotification change(FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    long long previous = -1;
    for (;;) {
        const Look look = LookAt(path);
        if (look.trailer || (look.size >= 0 && look.size == previous)) return true;
        previous = look.size;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        const ULONGLONG pause = look.size >= 0 ? settleMs : lookMs;
        // A change during the settling pause starts it again.
        if (Pause(change.Get(), static_cast<unsigned long>(pause < deadline - now ? pause : deadline - now)))
            previous = -1;
    }
}
