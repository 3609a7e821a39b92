#include "InstallerSession.h"

#include <vector>

#include "UniqueHandle.h"

namespace {

struct MsiHandleTraits {
    using Type = MSIHANDLE;
    static Type Invalid() { return 0; }
    static void Close(Type h) { MsiCloseHandle(h); }
};

}  // namespace

std::wstring InstallerSession::ActionData() const {
    DWORD length = 0;
    wchar_t none[1] = {};
    if (MsiGetPropertyW(m_session, L"CustomActionData", none, &length) != ERROR_MORE_DATA) return {};
    std::vector<wchar_t> text(length + 1);
    length = static_cast<DWORD>(text.size());
    if (MsiGetPropertyW(m_session, L"CustomActionData", text.data(), &length) != ERROR_SUCCESS) return {};
    return std::wstring(text.data(), length);
}

// One message to the installer: field 0 is a template, the text goes in field 1
// so that brackets in it stay text.
void InstallerSession::Send(INSTALLMESSAGE kind, const wchar_t* format, const std::wstring& text) const {
    const UniqueHandle<MsiHandleTraits> held(MsiCreateRecord(1));
    const MSIHANDLE record = held.Get();
    if (!record) return;
    MsiRecordSetStringW(record, 0, format);
    MsiRecordSetStringW(record, 1, text.c_str());
    MsiProcessMessage(m_session, kind, record);
}

void InstallerSession::Log(const std::wstring& line) const {
    Send(INSTALLMESSAGE_INFO, L"Quillset: [1]", line);
}

void InstallerSession::Warn(const std::wstring& text) const {
    // Shown with an OK button where there is a user interface; logged either way.
    Send(static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_WARNING | MB_OK | MB_ICONWARNING), L"[1]", text);
    Log(text);
}
