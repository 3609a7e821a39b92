#include "TreeRemoval.h"

#include <algorithm>

#include "TokenSid.h"

namespace {
const DWORD kAccess = DELETE | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | READ_CONTROL;

DWORD Attributes(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}
}  // namespace

// The entry itself, a link included; held without delete sharing.
UniqueFileHandle TreeRemoval::Open(const std::wstring& path) {
    return UniqueFileHandle(CreateFileW(path.c_str(), kAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                        nullptr));
}

bool TreeRemoval::Remove(const std::wstring& folder, const std::vector<std::wstring>& owners) {
    UniqueFileHandle held = Open(folder);
    const DWORD attributes = held ? Attributes(held.Get()) : INVALID_FILE_ATTRIBUTES;
    // Its name is asked too: Wine opens what a Unix link points at, and says
    // what it is only by name.
    const DWORD named = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        ((attributes | named) & FILE_ATTRIBUTE_REPARSE_POINT) || named == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!owners.empty()) {
        const std::wstring owner = TokenSid::OwnerOf(held.Get(), SE_FILE_OBJECT);
        const auto ours = [&](const std::wstring& sid) { return _wcsicmp(sid.c_str(), owner.c_str()) == 0; };
        if (owner.empty() || std::none_of(owners.begin(), owners.end(), ours)) return false;
    }
    RemoveContents(held.Get(), folder);
    return Delete(held.Get());
}

// Listed through the caller's handle, which holds the folder: its path names
// it until it goes.
void TreeRemoval::RemoveContents(HANDLE folder, const std::wstring& path) {
    std::vector<BYTE> buffer(64 * 1024);
    for (auto kind = FileFullDirectoryRestartInfo;; kind = FileFullDirectoryInfo) {
        if (!GetFileInformationByHandleEx(folder, kind, buffer.data(), static_cast<DWORD>(buffer.size()))) return;
        for (size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer.data() + offset);
            const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") RemoveEntry(path + L"\\" + name, entry->FileAttributes);
            if (!entry->NextEntryOffset) break;
            offset += entry->NextEntryOffset;
        }
    }
}

// A link by what the listing said or by what the entry is now (a folder swapped
// for a link since is opened as the link) is never entered, only deleted as
// itself. Where a link cannot be opened as itself (Wine opens what a Unix
// link points at), deleting its target's handle fails for a folder that is not
// empty, and removes nothing but the link's name for one that is.
void TreeRemoval::RemoveEntry(const std::wstring& path, DWORD listed) {
    UniqueFileHandle entry = Open(path);
    if (!entry) return;
    const DWORD attributes = Attributes(entry.Get());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    const bool link = (attributes | listed) & FILE_ATTRIBUTE_REPARSE_POINT;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !link) RemoveContents(entry.Get(), path);
    if ((attributes & FILE_ATTRIBUTE_READONLY) && !link) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
        if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(entry.Get(), FileBasicInfo, &basic, sizeof basic);
    }
    Delete(entry.Get());
}

// Gone once the last handle closes.
bool TreeRemoval::Delete(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}
