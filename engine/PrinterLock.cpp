#include "PrinterLock.h"

#include <sddl.h>

#include <string>

#include "TokenSid.h"


PrinterLock::PrinterLock(unsigned long timeoutMs, const RunCancel& cancel) {
    Create();
    if (!m_mutex || m_squatted) return;
    const DWORD waited = cancel.Wait(m_mutex.Get(), timeoutMs);
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    m_cancelled = waited == RunCancel::kCancelled;
}

void PrinterLock::Release() {
    if (m_held) ReleaseMutex(m_mutex.Get());
    m_held = false;
}

// Owned by the user, for the user and SYSTEM alone.
void PrinterLock::Create() {
    const std::wstring user = TokenSid::User();
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
    const std::wstring owner = TokenSid::OwnerOf(m_mutex.Get(), SE_KERNEL_OBJECT);
    return !owner.empty() && _wcsicmp(owner.c_str(), TokenSid::User().c_str()) != 0 &&
           _wcsicmp(owner.c_str(), TokenSid::DefaultOwner().c_str()) != 0;
}

// Global\ spans the user's sessions (a mutex there needs no privilege); the
// SID keeps users apart.
std::wstring PrinterLock::Name() {
    return L"Global\\Quillset.DefaultPrinter." + TokenSid::User();
}
