#pragma once
// SIDs of this process's token and of objects, as text ("S-1-5-21-...").
#include <windows.h>
#include <accctrl.h>

#include <string>

class TokenSid {
public:
    // The user this process runs as; empty when unknown.
    static std::wstring User();
    // The owner the token gives what it creates (an elevated administrator's
    // token gives the Administrators group); empty when unknown.
    static std::wstring DefaultOwner();
    // The owner of a file or kernel object by its handle; empty when unknown.
    static std::wstring OwnerOf(HANDLE object, SE_OBJECT_TYPE type);
    static std::wstring Text(PSID sid);

private:
    static std::wstring FromToken(TOKEN_INFORMATION_CLASS kind);
};
