#include "PrivateFolder.h"

#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "UniqueHandle.h"

namespace {
const int kAttempts = 16;

}  // namespace

PrivateFolder::PrivateFolder() {
    const std::wstring parent = Parent();
    if (parent.empty()) return;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::wstring path = parent + UniqueName();
        // Never an existing folder: one planted under a guessed name is not ours.
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            m_path = path + L"\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

PrivateFolder::~PrivateFolder() {
    if (Created()) Remove(m_path.substr(0, m_path.size() - 1));
}

std::wstring PrivateFolder::Parent() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring parent(buffer, length);
    if (parent.back() != L'\\') parent += L'\\';
    return parent;
}

std::wstring PrivateFolder::UniqueName() {
    GUID guid{};
    CoCreateGuid(&guid);
    wchar_t name[32];
    swprintf(name, sizeof name / sizeof name[0], L"Quillset-%08lX%04X", static_cast<unsigned long>(guid.Data1),
             static_cast<unsigned>(guid.Data2));
    return name;
}

// Links inside are removed, never followed.
void PrivateFolder::Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (search) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            const DWORD attributes = entry.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(path.c_str());
            else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) RemoveDirectoryW(path.c_str());
            else Remove(path);
        } while (FindNextFileW(search.Get(), &entry));
    }
    search.Reset();
    RemoveDirectoryW(folder.c_str());
}
