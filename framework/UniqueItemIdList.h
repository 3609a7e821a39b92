#pragma once
// An item identifier list, or a name of one, that the shell allocated for us.
#include <windows.h>
#include <shlobj.h>

#include "UniqueHandle.h"

struct ItemIdListTraits {
    using Type = LPITEMIDLIST;
    static Type Invalid() { return nullptr; }
    static void Close(Type list) { CoTaskMemFree(list); }
};
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;

struct ShellStringTraits {
    using Type = PWSTR;
    static Type Invalid() { return nullptr; }
    static void Close(Type text) { CoTaskMemFree(text); }
};
using UniqueShellString = UniqueHandle<ShellStringTraits>;
