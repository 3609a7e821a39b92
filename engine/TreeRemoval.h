#pragma once
// Deletes a folder with everything in it through handles. No link on the way is
// followed: one is deleted as itself, never what it points at. Every folder on
// the way is held without delete sharing while its contents go, so that none
// can be swapped for a link meanwhile (a shared temporary folder lets others
// plant one).
#include <windows.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"

class TreeRemoval {
public:
    // Removes `folder` when it is a folder, not a link, owned by one of `owners`
    // (SIDs in text form; none: by anyone). False when it was left.
    static bool Remove(const std::wstring& folder, const std::vector<std::wstring>& owners = {});

private:
    static UniqueFileHandle Open(const std::wstring& path);
    static void RemoveContents(HANDLE folder, const std::wstring& path);
    static void RemoveEntry(const std::wstring& path, DWORD listed);
    static bool Delete(HANDLE handle);
};
