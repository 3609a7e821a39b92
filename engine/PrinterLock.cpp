#include "PrinterLock.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace {

std::wstring TokenSid(TOKEN_INFORMATION_CLASS kind) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.Get(), kind, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), kind, buffer.data(), size, &size)) return {};
    PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                 : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner;
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return {};
    UniqueLocalMemory freed(text);
    return text;
}

std::wstring UserSid() {
    return TokenSid(TokenUser);
}

}  // namespace

PrinterLock::PrinterLock(unsigned long timeoutMs) {
    Create();
    if (!m_mutex || m_squatted) return;
    const DWORD waited = WaitForSingleObject(m_mutex.Get(), timeoutMs);
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void PrinterLock::Release() {
    if (m_held) ReleaseMutex(m_mutex.Get());
    m_held = false;
}

// Owned by the user, for the user and SYSTEM alone.
void PrinterLock::Create() {
    const std::wstring user = UserSid();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::wstring sddl = L"O:" + user + L"D:P(A;;GA;;;" + user + L")(A;;GA;;;SY)";
    if (user.empty() ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return;
    UniqueLocalMemory freed(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    m_mutex.Reset(CreateMutexW(&attributes, FALSE, Name().c_str()));
    if (m_mutex && GetLastError() == ERROR_ALREADY_EXISTS && MadeByAnother()) {
        m_squatted = true;
        m_mutex.Reset();
    }
}

// The user's own processes make it owned by the user (an older version's, by
// the owner the token gives); a mutex whose owner cannot be read is not refused.
bool PrinterLock::MadeByAnother() const {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(m_mutex.Get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    UniqueLocalMemory freed(descriptor);
    LPWSTR text = nullptr;
    if (!owner || !ConvertSidToStringSidW(owner, &text)) return false;
    UniqueLocalMemory freedText(text);
    return _wcsicmp(text, UserSid().c_str()) != 0 && _wcsicmp(text, TokenSid(TokenOwner).c_str()) != 0;
}

// Local\ is the session's namespace; the SID keeps apart users who share a
// session (a program run as another user).
std::wstring PrinterLock::Name() {
    return L"Local\\Quillset.DefaultPrinter." + UserSid();
}
