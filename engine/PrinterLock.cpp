#include "PrinterLock.h"

#include <sddl.h>

#include <string>
#include <vector>

namespace {

struct LocalMemoryTraits {
    using Type = wchar_t*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { LocalFree(p); }
};

std::wstring UserSid() {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
    UniqueHandle<LocalMemoryTraits> text;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, text.Put())) return {};
    return text.Get();
}

}  // namespace

PrinterLock::PrinterLock(unsigned long timeoutMs) : m_mutex(CreateMutexW(nullptr, FALSE, Name().c_str())) {
    if (!m_mutex) return;
    const DWORD waited = WaitForSingleObject(m_mutex.Get(), timeoutMs);
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void PrinterLock::Release() {
    if (m_held) ReleaseMutex(m_mutex.Get());
    m_held = false;
}

// Local\ is the session's namespace; the SID keeps apart users who share a
// session (a program run as another user).
std::wstring PrinterLock::Name() {
    return L"Local\\Quillset.DefaultPrinter." + UserSid();
}
