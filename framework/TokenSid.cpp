#include "TokenSid.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "UniqueHandle.h"

std::wstring TokenSid::User() {
    return FromToken(TokenUser);
}

std::wstring TokenSid::DefaultOwner() {
    return FromToken(TokenOwner);
}

std::wstring TokenSid::FromToken(TOKEN_INFORMATION_CLASS kind) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.Get(), kind, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), kind, buffer.data(), size, &size)) return {};
    return Text(kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                  : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner);
}

std::wstring TokenSid::OwnerOf(HANDLE object, SE_OBJECT_TYPE type) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor) !=
        ERROR_SUCCESS)
        return {};
    UniqueLocalMemory freed(descriptor);
    return owner ? Text(owner) : std::wstring();
}

std::wstring TokenSid::Text(PSID sid) {
    LPWSTR text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text)) return {};
    UniqueLocalMemory freed(text);
    return text;
}
