#include "PrintedFileWait.h"

#include <windows.h>

#include "UniqueHandle.h"

long long PrintedFileWait::SizeIfIdle(const std::wstring& path) {
    UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size)) return -1;
    return size.QuadPart;
}

bool PrintedFileWait::Wait(const std::wstring& path, unsigned long timeoutMs, unsigned long pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    long long previous = -1;
    for (;;) {
        const long long size = SizeIfIdle(path);
        if (size >= 0 && size == previous) return true;
        previous = size;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}
